// The Win32 run time on real windows and controls: window loading, the
// property rules as the native controls show them, event processing and
// the DLL search.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "runtime/win32/toolkit.h"

#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "installer/texts.h"
#include "runtime/cp936.h"
#include "runtime/services.h"

static std::string Text(ComponentId id) {
    char* text = GetTextProperty(id, PropText);
    std::string copy = text ? text : "";
    FreeText(text);
    return copy;
}

static HWND ControlHwnd(ComponentId id) {
    LiveWindow* live = LoadedLive(id.window);
    for (LiveControl& control : live->controls)
        if (control.def && control.def->component == id.component) return control.hwnd;
    return nullptr;
}

// Every test starts with no window loaded.
static void Fresh() {
    DestroyAllWindows();
    ProcessEvents();
}

// ProgressWindow installs when it is created: into a scratch folder here.
static void LoadProgressWindow() {
    LoadWindow(LocationWindow::Self);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    lstrcatA(folder, "vx-runtime-test");
    SetProperty(LocationWindow::安装位置, PropText, folder);
    REQUIRE(LoadWindow(ProgressWindow::Self));
    SetProperty(ProgressWindow::时钟1, PropPeriod, 0);
}

TEST_CASE("a loaded window is not built again; a destroyed one is") {
    Fresh();
    REQUIRE(LoadWindow(LocationWindow::Self));
    CHECK(GetProperty(LocationWindow::Self, PropVisible) == 1);
    CHECK(GetProperty(LocationWindow::Self, PropWidth) == 588);
    CHECK(GetProperty(LocationWindow::Self, PropHeight) == 438);
    CHECK(Text(LocationWindow::安装位置) == DefaultInstallDir);

    SetProperty(LocationWindow::Self, PropVisible, 0);
    SetProperty(LocationWindow::安装位置, PropText, "D:\\Games");
    CHECK(LoadWindow(LocationWindow::Self));
    CHECK(GetProperty(LocationWindow::Self, PropVisible) == 0);  // stays hidden
    CHECK(Text(LocationWindow::安装位置) == "D:\\Games");

    DestroyWindow((HWND)GetWindowHandle(LocationWindow::Self));
    CHECK_FALSE(IsCreated(LocationWindow::Self));
    CHECK(LoadWindow(LocationWindow::Self));
    CHECK(Text(LocationWindow::安装位置) == DefaultInstallDir);  // built afresh
}

TEST_CASE("windows are centred on the full screen, without frame") {
    Fresh();
    LoadWindow(FinishWindow::Self);
    RECT rect;
    GetWindowRect((HWND)GetWindowHandle(FinishWindow::Self), &rect);
    CHECK(rect.left == (GetSystemMetrics(SM_CXSCREEN) - 588) / 2);
    CHECK(rect.top == (GetSystemMetrics(SM_CYSCREEN) - 438) / 2);
    RECT client;
    GetClientRect((HWND)GetWindowHandle(FinishWindow::Self), &client);
    CHECK(client.right == 588);
    CHECK(client.bottom == 438);
}

TEST_CASE("the progress bar stores limited values and shows them within its range") {
    Fresh();
    LoadProgressWindow();
    HWND bar = ControlHwnd(ProgressWindow::进度条1);
    struct {
        int32_t written, stored, shown;
    } cases[] = {{40, 40, 40}, {105, 105, 100}, {40000, 32767, 100}, {-7, 0, 0}};
    for (auto& c : cases) {
        CAPTURE(c.written);
        SetProperty(ProgressWindow::进度条1, PropPosition, c.written);
        CHECK(GetProperty(ProgressWindow::进度条1, PropPosition) == c.stored);
        CHECK(SendMessageA(bar, PBM_GETPOS, 0, 0) == c.shown);
    }
    // A minimum above the maximum still gives the native bar a proper range.
    SetProperty(ProgressWindow::进度条1, PropMinimum, 90);
    SetProperty(ProgressWindow::进度条1, PropMaximum, 50);
    CHECK(SendMessageA(bar, PBM_GETRANGE, TRUE, 0) == 50);
    CHECK(SendMessageA(bar, PBM_GETRANGE, FALSE, 0) == 90);
    CHECK(GetProperty(ProgressWindow::进度条1, PropMaximum) == 50);
}

// Waits, dispatching events, until the bar's position is not `from`.
static bool PositionMovesFrom(int32_t from, int attempts) {
    for (int i = 0; i < attempts; i++) {
        ProcessEvents();
        if (GetProperty(ProgressWindow::进度条1, PropPosition) != from) return true;
        Sleep(20);
    }
    return false;
}

TEST_CASE("the timer ticks while its period is above 0 and stops at 0") {
    Fresh();
    LoadProgressWindow();
    SetProperty(ProgressWindow::时钟1, PropPeriod, -5);
    CHECK(GetProperty(ProgressWindow::时钟1, PropPeriod) == 0);
    SetProperty(ProgressWindow::时钟1, PropPeriod, 30);
    CHECK(PositionMovesFrom(0, 200));
    SetProperty(ProgressWindow::时钟1, PropPeriod, 0);
    ProcessEvents();
    int32_t stopped = GetProperty(ProgressWindow::进度条1, PropPosition);
    CHECK_FALSE(PositionMovesFrom(stopped, 10));
}

TEST_CASE("a check box is checked by exactly 1, and a click counts at once") {
    Fresh();
    LoadWindow(FinishWindow::Self);
    CHECK(GetProperty(FinishWindow::选择框1, PropChecked) == 1);
    SetProperty(FinishWindow::选择框1, PropChecked, 2);
    CHECK(GetProperty(FinishWindow::选择框1, PropChecked) == 0);
    SetProperty(FinishWindow::选择框1, PropChecked, 1);
    SendMessageA(ControlHwnd(FinishWindow::选择框1), BM_CLICK, 0, 0);
    CHECK(GetProperty(FinishWindow::选择框1, PropChecked) == 0);
}

TEST_CASE("a label keeps its caption; the edit box hands out copies") {
    Fresh();
    LoadProgressWindow();
    CHECK(Text(ProgressWindow::透明标签1) != DoneText);
    SetProperty(ProgressWindow::透明标签1, PropText, DoneText);
    CHECK(Text(ProgressWindow::透明标签1) == DoneText);
    SetProperty(LocationWindow::安装位置, PropText, EmptyText);
    CHECK(GetTextProperty(LocationWindow::安装位置, PropText) == nullptr);
}

// The pointer a control asks for when the mouse is over it.
static HCURSOR PointerOver(ComponentId id) {
    HWND hwnd = ControlHwnd(id);
    SendMessageA(hwnd, WM_SETCURSOR, (WPARAM)hwnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

TEST_CASE("the hand over both 图形按钮2, the I-beam over the edit box, else the arrow") {
    Fresh();
    LoadProgressWindow();
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND), arrow = LoadCursorA(nullptr, IDC_ARROW);
    CHECK(PointerOver(ProgressWindow::图形按钮2) == hand);
    CHECK(PointerOver(LocationWindow::图形按钮2) == hand);
    CHECK(PointerOver(LocationWindow::安装位置) == LoadCursorA(nullptr, IDC_IBEAM));
    CHECK(PointerOver(LocationWindow::返回) == arrow);
    CHECK(PointerOver(LocationWindow::图形按钮1) == arrow);
}

TEST_CASE("processing events stops at a quit request and leaves it queued") {
    Fresh();
    ProcessEvents();  // an empty queue returns at once
    PostQuitMessage(3);
    ProcessEvents();
    MSG msg;
    REQUIRE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    CHECK(msg.message == WM_QUIT);
    CHECK(msg.wParam == 3);
}

TEST_CASE("texts: constants are never freed, heap texts are") {
    FreeText(nullptr);
    FreeText(DefaultInstallDir);
    CHECK(std::string(DefaultInstallDir) == "C:\\Vorlandix\\");
    char* text = AllocText(4);
    lstrcpyA(text, "abc");
    FreeText(text);
}

TEST_CASE("a DLL next to the program is not loaded in place of a system one") {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *(char*)FindLastBackslash(path) = 0;
    lstrcatA(path, "\\vx-probe.dll");
    REQUIRE(GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES);
    CHECK(LoadLibraryA("vx-probe.dll") == nullptr);
    CHECK(LoadLibraryA(path) != nullptr);  // only by its full path
}

// Clicks the quick install button from a timer, which the open effect
// dispatches between its frames.
static void CALLBACK ClickQuickInstall(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND button = ControlHwnd(WelcomeWindow::快速安装);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    CHECK_FALSE(IsCreated(ProgressWindow::Self));  // held back
}

TEST_CASE("start-up: the open effect reveals the whole window; clicks wait for it") {
    Fresh();
    SetTimer(nullptr, 0, 1, ClickQuickInstall);
    LoadStartWindow(WelcomeWindow::Self);
    CHECK(GetProperty(WelcomeWindow::Self, PropVisible) == 1);
    CHECK(IsCreated(LocationWindow::Self));
    CHECK(GetProperty(LocationWindow::Self, PropVisible) == 0);
    CHECK_FALSE(IsCreated(ProgressWindow::Self));

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    REQUIRE(GetWindowRgn((HWND)GetWindowHandle(WelcomeWindow::Self), region) == SIMPLEREGION);
    RECT box;
    GetRgnBox(region, &box);
    DeleteObject(region);
    CHECK(box.left == 0);
    CHECK(box.top == 0);
    CHECK(box.right == 588);
    CHECK(box.bottom == 438);

    ProcessEvents();  // the held click installs now, LocationWindow being there
    CHECK(IsCreated(ProgressWindow::Self));
    CHECK(GetProperty(WelcomeWindow::Self, PropVisible) == 0);
}

int main(int argc, char** argv) {
    StartRunTime(GetModuleHandleA(nullptr));
    OleInitialize(nullptr);
    doctest::Context context(argc, argv);
    return context.run();
}
