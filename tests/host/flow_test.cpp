#include <doctest/doctest.h>

#include <string>

#include "installer/texts.h"
#include "screens/catalogue.h"
#include "tests/host/runtime_double.h"

using std::string;

static const ComponentId Windows[] = {WelcomeWindow::Self, LocationWindow::Self,
                                      ProgressWindow::Self, FinishWindow::Self};

// Which windows are on screen, as a short word per window.
static string Shown() {
    const char* names[] = {"welcome", "location", "progress", "finish"};
    string shown;
    for (int i = 0; i < 4; i++)
        if (IsCreated(Windows[i]) && Double::IsVisible(Windows[i])) shown += (shown.empty() ? "" : " ") + string(names[i]);
    return shown;
}

static string Text(ComponentId id) {
    char* text = GetTextProperty(id, PropText);
    string copy = text ? text : "";
    FreeText(text);
    return copy;
}

static bool Logged(const string& line) {
    for (const string& entry : Double::Log())
        if (entry == line) return true;
    return false;
}

static void StartInstaller() {
    Double::Reset();
    REQUIRE(Double::Start() == std::nullopt);
}

TEST_CASE("start-up shows the welcome window with the location window loaded but hidden") {
    StartInstaller();
    CHECK(Shown() == "welcome");
    CHECK(IsCreated(LocationWindow::Self));
    CHECK(Text(LocationWindow::安装位置) == DefaultInstallDir);
    CHECK_FALSE(IsCreated(ProgressWindow::Self));
    CHECK(GetProperty(WelcomeWindow::选择框1, PropChecked) == 1);
    CHECK_FALSE(Double::IsVisible(WelcomeWindow::透明标签1));
}

TEST_CASE("the agreement gate stops both install buttons until the box is checked again") {
    for (ComponentId button : {WelcomeWindow::快速安装, WelcomeWindow::自定义安装}) {
        StartInstaller();
        Double::Toggle(WelcomeWindow::选择框1);
        size_t logged = Double::Log().size();
        Double::Click(button);
        CHECK(Shown() == "welcome");
        CHECK(Double::IsVisible(WelcomeWindow::透明标签1));
        CHECK(Double::Log().size() == logged + 1);  // the click itself, nothing else

        Double::Toggle(WelcomeWindow::选择框1);
        Double::Click(button);
        CHECK(Shown() == (button == WelcomeWindow::快速安装 ? "progress" : "location"));
        CHECK(Double::IsVisible(WelcomeWindow::透明标签1));  // the hint stays
    }
}

TEST_CASE("custom install, back, quick install: the box and the typed folder are kept") {
    StartInstaller();
    Double::Click(WelcomeWindow::自定义安装);
    CHECK(Shown() == "location");
    SetProperty(LocationWindow::安装位置, PropText, "D:\\Games");
    Double::Click(LocationWindow::返回);
    CHECK(Shown() == "welcome");
    CHECK(GetProperty(WelcomeWindow::选择框1, PropChecked) == 1);
    Double::Click(WelcomeWindow::自定义安装);
    CHECK(Text(LocationWindow::安装位置) == "D:\\Games");  // not created a second time
    Double::Click(LocationWindow::返回);
    Double::Click(WelcomeWindow::快速安装);
    CHECK(Shown() == "progress");
    CHECK(Logged("MakeDirectory D:\\Games"));
    CHECK(Logged("WriteBytesToFile D:\\Games\\Vorlandix.exe 35"));
}

TEST_CASE("a quick install writes into the default folder before the window is shown") {
    StartInstaller();
    Double::Click(WelcomeWindow::快速安装);
    CHECK(Logged("MakeDirectory C:\\Vorlandix"));
    CHECK(Logged("WriteBytesToFile C:\\Vorlandix\\\\Vorlandix.exe 35"));
    CHECK(Shown() == "progress");
    CHECK(GetProperty(ProgressWindow::时钟1, PropPeriod) == 100);
    CHECK(GetProperty(ProgressWindow::进度条1, PropPosition) == 0);
    CHECK(Double::OutstandingTexts() == 0);
}

TEST_CASE("browsing sets the install folder; a cancelled browse keeps it") {
    struct {
        const char* chosen;
        const char* installDir;
    } cases[] = {
        {"D:\\Apps", "D:\\Apps\\Vorlandix"},
        {"D:\\", "D:\\Vorlandix"},
        {nullptr, "C:\\Vorlandix\\"},
    };
    for (auto& c : cases) {
        StartInstaller();
        Double::Click(WelcomeWindow::自定义安装);
        Double::AnswerBrowse(c.chosen);
        Double::Click(LocationWindow::图形按钮2);
        CHECK(Logged(string("BrowseForFolder ") + BrowsePrompt));
        CHECK(Text(LocationWindow::安装位置) == c.installDir);
        CHECK(Double::OutstandingTexts() == 0);
    }
}

TEST_CASE("the close button asks once; only Yes ends the program, with code 0") {
    StartInstaller();
    Double::AnswerMessageBox(BoxNo);
    CHECK(Double::Click(WelcomeWindow::关闭) == std::nullopt);
    CHECK(Logged(string("ShowMessageBox 4 ") + ExitPrompt + " | " + InstallerTitle));
    CHECK(Shown() == "welcome");
    Double::AnswerMessageBox(BoxYes);
    CHECK(Double::Click(WelcomeWindow::关闭) == 0);
}

TEST_CASE("a system close never leaves the installer running with no window shown") {
    struct {
        const char* name;
        void (*reach)();
        ComponentId window;
        std::optional<int32_t> exit;
        const char* shownAfter;
    } cases[] = {
        {"welcome, answered No", [] {}, WelcomeWindow::Self, std::nullopt, "welcome"},
        {"location", [] { Double::Click(WelcomeWindow::自定义安装); }, LocationWindow::Self,
         std::nullopt, "welcome"},
        {"progress", [] { Double::Click(WelcomeWindow::快速安装); }, ProgressWindow::Self, 0, ""},
        {"finish",
         [] {
             Double::Click(WelcomeWindow::快速安装);
             for (int i = 0; i < 21; i++) Double::Tick(ProgressWindow::时钟1);
             Double::Click(ProgressWindow::图形按钮2);
         },
         FinishWindow::Self, 0, ""},
    };
    for (auto& c : cases) {
        CAPTURE(c.name);
        StartInstaller();
        c.reach();
        CHECK(Double::CloseRequest(c.window) == c.exit);
        if (!c.exit) CHECK(Shown() == c.shownAfter);
    }
    StartInstaller();
    Double::AnswerMessageBox(BoxYes);
    CHECK(Double::CloseRequest(WelcomeWindow::Self) == 0);
}

TEST_CASE("the progress runs to 100 in steps of 5; the next tick shows the button and the text") {
    StartInstaller();
    Double::Click(WelcomeWindow::快速安装);
    for (int tick = 1; tick <= 20; tick++) {
        Double::Tick(ProgressWindow::时钟1);
        CHECK(GetProperty(ProgressWindow::进度条1, PropPosition) == 5 * tick);
        CHECK_FALSE(Double::IsVisible(ProgressWindow::图形按钮2));
    }
    CHECK(Text(ProgressWindow::透明标签1) != DoneText);
    for (int tick = 21; tick <= 23; tick++) {
        Double::Tick(ProgressWindow::时钟1);
        CHECK(GetProperty(ProgressWindow::进度条1, PropPosition) == 100);
        CHECK(Double::IsVisible(ProgressWindow::图形按钮2));
        CHECK(Text(ProgressWindow::透明标签1) == DoneText);
    }
    Double::Click(ProgressWindow::图形按钮2);
    CHECK(Shown() == "finish");
    CHECK(GetProperty(ProgressWindow::时钟1, PropPeriod) == 100);  // keeps running
}

TEST_CASE("the finish buttons: shortcut when checked, made before the application starts") {
    const char* shortcut = "CreateShortcut C:\\users\\user1\\Desktop\\Vorlandix -> C:\\Vorlandix\\\\Vorlandix.exe";
    const char* run = "RunFile 4 C:\\Vorlandix\\\\Vorlandix.exe";
    // A shortcut that could not be made is told; the install stands, so 0.
    string failed = "ShowMessageBox 48 " + string(ShortcutFailedText) + "C:\\Vorlandix\\\\Vorlandix.exe | " +
                    InstallerTitle;
    enum { Made, Fails, NoDesktop };
    struct {
        ComponentId button;
        bool checked;
        int shortcutCase;
        std::vector<string> steps;
    } cases[] = {
        {FinishWindow::完成安装, true, Made, {shortcut, "ExitProgram 0"}},
        {FinishWindow::完成安装, false, Made, {"ExitProgram 0"}},
        {FinishWindow::立即体验, true, Made, {shortcut, run, "ExitProgram 0"}},
        {FinishWindow::立即体验, false, Made, {run, "ExitProgram 0"}},
        {FinishWindow::完成安装, true, Fails, {shortcut, failed, "ExitProgram 0"}},
        {FinishWindow::立即体验, true, Fails, {shortcut, failed, run, "ExitProgram 0"}},
        {FinishWindow::完成安装, true, NoDesktop, {failed, "ExitProgram 0"}},
        {FinishWindow::完成安装, false, Fails, {"ExitProgram 0"}},
    };
    for (auto& c : cases) {
        StartInstaller();
        Double::FailCreateShortcut(c.shortcutCase == Fails);
        if (c.shortcutCase == NoDesktop) Double::SetDesktopFolder(nullptr);
        Double::Click(WelcomeWindow::快速安装);
        for (int i = 0; i < 21; i++) Double::Tick(ProgressWindow::时钟1);
        Double::Click(ProgressWindow::图形按钮2);
        if (!c.checked) Double::Toggle(FinishWindow::选择框1);
        size_t before = Double::Log().size();
        CHECK(Double::Click(c.button) == 0);
        std::vector<string> steps(Double::Log().begin() + before + 1, Double::Log().end());
        CHECK(steps == c.steps);
        CHECK(Double::OutstandingTexts() == 0);
    }
}

TEST_CASE("missing levels of the install folder are made one at a time, existing ones kept") {
    StartInstaller();
    Double::AddFolder("D:\\Games");
    Double::Click(WelcomeWindow::自定义安装);
    SetProperty(LocationWindow::安装位置, PropText, "D:\\Games\\\xd3\xce\xcf\xb7 1\\Vorlandix\\");
    Double::Click(LocationWindow::图形按钮1);
    std::vector<string> files;
    for (const string& entry : Double::Log())
        if (entry.rfind("MakeDirectory", 0) == 0 || entry.rfind("WriteBytes", 0) == 0) files.push_back(entry);
    CHECK(files == std::vector<string>{"MakeDirectory D:\\Games", "MakeDirectory D:\\Games\\\xd3\xce\xcf\xb7 1",
                                       "MakeDirectory D:\\Games\\\xd3\xce\xcf\xb7 1\\Vorlandix",
                                       "WriteBytesToFile D:\\Games\\\xd3\xce\xcf\xb7 1\\Vorlandix\\\\Vorlandix.exe 35"});
    CHECK(Shown() == "progress");
}

TEST_CASE("a failed install says why, claims no success and goes back to choosing a folder") {
    string tooLong = "D:\\" + string(243, 'a');  // 260 bytes with the file name
    struct {
        const char* name;
        const char* installDir;
        const char* failingPath;  // null: refused before anything is touched
        int32_t reason;
        const char* missing;  // then fails for want of failingPath
    } cases[] = {
        {"blank", "  ", nullptr, FileNoName},
        {"forbidden character", "D:\\a|b", nullptr, FileBadName},
        {"too long", tooLong.c_str(), nullptr, FileTooLong},
        {"folder denied", "D:\\ro\\app", "D:\\ro", FileAccessDenied, "D:\\ro\\app"},
        {"no such drive", "Q:\\app", "Q:\\app", FileNotFound},
        {"disk full", "D:\\app", "D:\\app\\Vorlandix.exe", FileDiskFull},
        {"file in use", "D:\\app", "D:\\app\\Vorlandix.exe", FileInUse},
        {"check failed", "D:\\app", "D:\\app\\Vorlandix.exe", FileVerifyFailed},
    };
    for (ComponentId start : {WelcomeWindow::快速安装, WelcomeWindow::自定义安装}) {
        for (auto& c : cases) {
            CAPTURE(c.name);
            StartInstaller();
            if (c.failingPath) Double::FailFile(c.failingPath, c.reason);
            if (c.missing) Double::FailFile(c.missing, FileNotFound);
            if (start == WelcomeWindow::自定义安装) Double::Click(start);
            SetProperty(LocationWindow::安装位置, PropText, c.installDir);
            Double::Click(start == WelcomeWindow::快速安装 ? start : LocationWindow::图形按钮1);

            string message = string(InstallFailedHead) + c.installDir + ReasonHead + FileReasons[c.reason] +
                             InstallFailedTail;
            CHECK(Logged("ShowMessageBox 16 " + message + " | " + InstallerTitle));
            CHECK_FALSE(IsCreated(ProgressWindow::Self));
            CHECK(Shown() == "location");
            if (!c.failingPath) CHECK_FALSE(Logged("WriteBytesToFile " + string(c.installDir) + ExeSuffix + " 35"));
            CHECK(Double::OutstandingTexts() == 0);

            // Another folder installs afresh: the progress window is made again.
            SetProperty(LocationWindow::安装位置, PropText, "D:\\other");
            Double::Click(LocationWindow::图形按钮1);
            CHECK(Shown() == "progress");
            CHECK(GetProperty(ProgressWindow::时钟1, PropPeriod) == 100);
            for (int i = 0; i < 21; i++) Double::Tick(ProgressWindow::时钟1);
            CHECK(Text(ProgressWindow::透明标签1) == DoneText);
        }
    }
}

TEST_CASE("after a failed install Esc leads back to the welcome window and out") {
    StartInstaller();
    Double::FailFile("C:\\Vorlandix\\\\Vorlandix.exe", FileInUse);
    Double::Click(WelcomeWindow::快速安装);
    REQUIRE(Shown() == "location");
    CHECK(Double::CloseRequest(LocationWindow::Self) == std::nullopt);
    CHECK(Shown() == "welcome");
    Double::AnswerMessageBox(BoxYes);
    CHECK(Double::Click(WelcomeWindow::关闭) == 0);
}

TEST_CASE("a click during the open effect waits until the welcome window is complete") {
    Double::Reset();
    bool clicked = false;
    Double::SetOnProcessEvents([&] {
        if (clicked) return;
        clicked = true;
        CHECK_FALSE(IsCreated(LocationWindow::Self));
        Double::Click(WelcomeWindow::快速安装);
        CHECK_FALSE(IsCreated(ProgressWindow::Self));  // held back
    });
    CHECK(Double::Start() == std::nullopt);
    CHECK(clicked);
    CHECK(Double::LastFatalError() == "");
    CHECK(Shown() == "progress");
}
