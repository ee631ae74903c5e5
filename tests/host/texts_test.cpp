#include <doctest/doctest.h>
#include <iconv.h>
#include <string.h>

#include <string>
#include <vector>

#include "installer/paths.h"
#include "installer/payload.h"
#include "installer/texts.h"
#include "runtime/cp936.h"
#include "tests/host/runtime_double.h"

static std::string ToCp936(const char* utf8) {
    iconv_t cd = iconv_open("CP936", "UTF-8");
    REQUIRE(cd != (iconv_t)-1);
    char out[256];
    char* in = (char*)utf8;
    size_t inLeft = strlen(utf8), outLeft = sizeof out;
    char* o = out;
    REQUIRE(iconv(cd, &in, &inLeft, &o, &outLeft) != (size_t)-1);
    iconv_close(cd);
    return std::string(out, o);
}

TEST_CASE("constant texts are the code page 936 bytes of their Chinese text") {
    struct {
        const char* constant;
        const char* utf8;
        uint32_t bytes;
    } cases[] = {
        {ProductName, "Vorlandix", 9},
        {DefaultInstallDir, "C:\\Vorlandix\\", 13},
        {ExeSuffix, "\\Vorlandix.exe", 14},
        {BrowsePrompt, "选择安装程序文件夹", 18},
        {ExitPrompt, "您确定要退出\"Vorlandix\"安装程序？", 33},
        {InstallerTitle, "Vorlandix安装程序", 17},
        {DoneText, "安装完成√", 10},
        {InstallFailedHead, "无法安装到以下文件夹：\n", 23},
        {ReasonHead, "\n\n原因：", 8},
        {InstallFailedTail, "\n\n请选择其他文件夹，或排除问题后重试。", 38},
        {ShortcutFailedText, "无法在桌面上创建快捷方式。\n\n程序已经安装好，位置：\n", 51},
    };
    for (auto& c : cases) {
        CAPTURE(c.utf8);
        CHECK(std::string(c.constant) == ToCp936(c.utf8));
        CHECK(TextLength(c.constant) == c.bytes);
    }
    CHECK(TextLength(nullptr) == 0);

    const char* reasons[FileReasonCount] = {
        "",
        "未填写文件夹名称",
        "已存在同名的文件",
        "没有写入权限（拒绝访问）",
        "磁盘空间不足",
        "文件正被运行中的程序使用",
        "名称无效或包含不允许的字符（如 < > : \" | ? *）",
        "路径过长",
        "找不到指定的驱动器或路径",
        "写入的文件校验失败",
        "发生未知错误",
    };
    for (int32_t reason = FileOk; reason < FileReasonCount; reason++) {
        CAPTURE(reasons[reason]);
        CHECK(std::string(FileReasons[reason]) == ToCp936(reasons[reason]));
    }
}

TEST_CASE("joining texts keeps every separator and accepts null parts") {
    Double::Reset();
    struct {
        const char* a;
        const char* b;
        const char* joined;
    } cases[] = {
        {nullptr, "x", "x"},
        {"x", nullptr, "x"},
        {nullptr, nullptr, ""},
        {DefaultInstallDir, ExeSuffix, "C:\\Vorlandix\\\\Vorlandix.exe"},
        {"D:\\Apps\\Vorlandix", ExeSuffix, "D:\\Apps\\Vorlandix\\Vorlandix.exe"},
    };
    for (auto& c : cases) {
        char* joined = ConcatText(2, c.a, c.b);
        REQUIRE(joined != nullptr);
        CHECK(std::string(joined) == c.joined);
        FreeText(joined);
    }
    CHECK(Double::OutstandingTexts() == 0);
}

TEST_CASE("the install folder after browsing has exactly one separator before the name") {
    Double::Reset();
    // 0xB1 0x5C is one Chinese character whose second byte is a backslash.
    struct {
        const char* folder;
        const char* installDir;
    } cases[] = {
        {"D:\\Apps", "D:\\Apps\\Vorlandix"},
        {"D:\\", "D:\\Vorlandix"},
        {"C:\\users\\user1\\Desktop\\", "C:\\users\\user1\\Desktop\\Vorlandix"},
        {"D:\\\xb1\x5c", "D:\\\xb1\x5c\\Vorlandix"},
    };
    for (auto& c : cases) {
        char* installDir = BrowsedInstallDir(c.folder);
        CHECK(std::string(installDir) == c.installDir);
        FreeText(installDir);
    }
}

TEST_CASE("a backslash inside a two-byte character is no separator") {
    const char* text = "a\\b\xb1\x5c" "c";
    CHECK(FindLastBackslash(text) == text + 1);
    CHECK_FALSE(EndsWithBackslash("D:\\\xb1\x5c"));
    CHECK(EndsWithBackslash("D:\\"));
    CHECK_FALSE(EndsWithBackslash(""));
}

TEST_CASE("the payload is one byte array: the word 1, its length, its bytes") {
    CHECK(Payload.marker == 1);
    CHECK(Payload.length == 35);
    CHECK(memcmp(ByteArrayBytes(&Payload), "MZ", 2) == 0);
}

TEST_CASE("an install folder is refused when blank, badly named or too long for the file") {
    // 0xB1 0x5C and 0xD5 0x7C are Chinese characters whose second bytes are
    // a backslash and a '|'.
    std::string longest(MaxPathLength - TextLength(ExeSuffix), 'a');
    struct {
        std::string installDir;
        int32_t result;
    } cases[] = {
        {"C:\\Vorlandix\\", FileOk},
        {"D:\\Program Files\\Vorlandix", FileOk},
        {"\xd6\xd0\xce\xc4\\\xb1\x5c\xd5\x7c", FileOk},
        {"Vorlandix", FileOk},
        {"\\\\server\\share\\Vorlandix", FileOk},
        {"C:/Games/Vorlandix", FileOk},
        {"", FileNoName},
        {"   ", FileNoName},
        {"C:\\a<b", FileBadName},
        {"C:\\a>b", FileBadName},
        {"C:\\a\"b", FileBadName},
        {"C:\\a|b", FileBadName},
        {"C:\\a?b", FileBadName},
        {"C:\\a*b", FileBadName},
        {"C:\\a:b", FileBadName},
        {"1:\\a", FileBadName},
        {":\\a", FileBadName},
        {"C:\\a\tb", FileBadName},
        {"\\\\?\\C:\\a", FileBadName},
        {longest, FileOk},
        {longest + "b", FileTooLong},
        {std::string(300, 'a'), FileTooLong},
    };
    for (auto& c : cases) {
        CAPTURE(c.installDir);
        CHECK(CheckInstallDir(c.installDir.c_str()) == c.result);
    }
    CHECK(CheckInstallDir(nullptr) == FileNoName);
}

TEST_CASE("the folder levels of a path, outermost first, leave out the drive or share") {
    Double::Reset();
    struct {
        const char* path;
        std::vector<std::string> levels;
    } cases[] = {
        {"C:\\Vorlandix\\", {"C:\\Vorlandix"}},
        {"C:\\Vorlandix", {"C:\\Vorlandix"}},
        {"D:\\a\\b c\\d", {"D:\\a", "D:\\a\\b c", "D:\\a\\b c\\d"}},
        {"D:\\a\\\\b\\", {"D:\\a", "D:\\a\\\\b"}},
        {"D:/a/b", {"D:/a", "D:/a/b"}},
        {"C:\\", {}},
        {"C:", {}},
        {"", {}},
        {"Vorlandix", {"Vorlandix"}},
        {"..\\x", {"..", "..\\x"}},
        {"C:x\\y", {"C:x", "C:x\\y"}},
        {"\\x\\y", {"\\x", "\\x\\y"}},
        {"\\\\server\\share\\a\\b", {"\\\\server\\share\\a", "\\\\server\\share\\a\\b"}},
        {"\\\\server\\share", {}},
        {"D:\\\xb1\x5c\\c", {"D:\\\xb1\x5c", "D:\\\xb1\x5c\\c"}},
    };
    for (auto& c : cases) {
        CAPTURE(c.path);
        std::vector<std::string> levels;
        uint32_t position = 0;
        while (char* level = NextFolderLevel(c.path, &position)) {
            levels.push_back(level);
            FreeText(level);
        }
        CHECK(levels == c.levels);
    }
    uint32_t position = 0;
    CHECK(NextFolderLevel(nullptr, &position) == nullptr);
    CHECK(Double::OutstandingTexts() == 0);
}
