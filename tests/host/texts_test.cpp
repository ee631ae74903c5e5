#include <doctest/doctest.h>
#include <iconv.h>
#include <string.h>

#include <string>

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
    };
    for (auto& c : cases) {
        CAPTURE(c.utf8);
        CHECK(std::string(c.constant) == ToCp936(c.utf8));
        CHECK(TextLength(c.constant) == c.bytes);
    }
    CHECK(TextLength(nullptr) == 0);
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
