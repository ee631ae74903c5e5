// The file and shell services on the real file system and shell: folder
// levels, the whole-file replace and its failures, the desktop folder and
// the naming and target of shortcuts.
#define DOCTEST_CONFIG_IMPLEMENT
// The run time is built without exceptions: a failed REQUIRE ends the run.
#define DOCTEST_CONFIG_NO_EXCEPTIONS_BUT_WITH_ALL_ASSERTS
#include <doctest/doctest.h>

#include "runtime/win32/toolkit.h"

#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "runtime/services.h"

using std::string;

// A fresh scratch folder per test case, under the temporary folder.
static string Scratch(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    string folder = string(temp) + "vx-services-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

static bool Exists(const string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

static string Contents(const string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    string bytes;
    char chunk[4096];
    DWORD got;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

static std::vector<string> Names(const string& folder) {
    std::vector<string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (string(found.cFileName) != "." && string(found.cFileName) != "..") names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A byte array of the given text, in the run time's form.
struct Bytes {
    std::vector<uint32_t> block;
    explicit Bytes(const string& text) : block(2 + (text.size() + 3) / 4) {
        block[0] = 1;
        block[1] = (uint32_t)text.size();
        memcpy(&block[2], text.data(), text.size());
    }
    const ByteArray* array() const { return (const ByteArray*)block.data(); }
};

TEST_CASE("MakeDirectory makes one level; an existing folder and a missing parent give false") {
    string root = Scratch("mkdir");
    CHECK(MakeDirectory((root + "\\a").c_str()));
    CHECK(LastFileError() == FileOk);
    CHECK(WriteBytesToFile((root + "\\a\\keep").c_str(), Bytes("kept").array()));

    CHECK_FALSE(MakeDirectory((root + "\\a").c_str()));
    CHECK(LastFileError() == FileExists);
    CHECK(Contents(root + "\\a\\keep") == "kept");

    CHECK_FALSE(MakeDirectory((root + "\\b\\c").c_str()));
    CHECK(LastFileError() == FileNotFound);
    CHECK_FALSE(Exists(root + "\\b"));

    // Chinese and spaces in a name: 安装 目录.
    CHECK(MakeDirectory((root + "\\\xb0\xb2\xd7\xb0 \xc4\xbf\xc2\xbc").c_str()));
    CHECK_FALSE(MakeDirectory((root + "\\a<b").c_str()));
    CHECK(LastFileError() == FileBadName);
}

TEST_CASE("WriteBytesToFile replaces the whole file and leaves no temporary file") {
    string root = Scratch("write");
    string path = root + "\\Vorlandix.exe";
    CHECK(WriteBytesToFile(path.c_str(), Bytes(string(100000, 'o')).array()));
    CHECK(WriteBytesToFile(path.c_str(), Bytes("MZ new").array()));
    CHECK(LastFileError() == FileOk);
    CHECK(Contents(path) == "MZ new");  // nothing of the longer old file remains
    CHECK(Names(root) == std::vector<string>{"Vorlandix.exe"});

    // The doubled backslash of a folder typed with a trailing one.
    CHECK(WriteBytesToFile((root + "\\\\twice.exe").c_str(), Bytes("x").array()));
    CHECK(Contents(root + "\\twice.exe") == "x");

    CHECK(WriteBytesToFile((root + "\\empty").c_str(), Bytes("").array()));
    CHECK(Contents(root + "\\empty").empty());
}

TEST_CASE("a failed WriteBytesToFile says why and leaves the old file as it was") {
    string root = Scratch("fail");
    string path = root + "\\Vorlandix.exe";
    REQUIRE(WriteBytesToFile(path.c_str(), Bytes("old").array()));

    // Held open with no sharing, as a running program may hold it.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    CHECK_FALSE(WriteBytesToFile(path.c_str(), Bytes("new content").array()));
    CHECK(LastFileError() == FileInUse);
    CloseHandle(held);
    CHECK(Contents(path) == "old");
    CHECK(Names(root) == std::vector<string>{"Vorlandix.exe"});

    struct {
        string path;
        int32_t reason;
    } cases[] = {
        {"", FileNoName},
        {root + "\\missing\\Vorlandix.exe", FileNotFound},
        {"Q:\\no-such-drive\\Vorlandix.exe", FileNotFound},
        {root + "\\" + string(MAX_PATH - root.size(), 'a'), FileTooLong},
    };
    for (auto& c : cases) {
        CAPTURE(c.path);
        CHECK_FALSE(WriteBytesToFile(c.path.c_str(), Bytes("x").array()));
        CHECK(LastFileError() == c.reason);
    }
    CHECK_FALSE(Exists(root + "\\missing"));
    CHECK(Names(root) == std::vector<string>{"Vorlandix.exe"});
}

TEST_CASE("the longest path the services take is written; one byte more is refused") {
    string root = Scratch("limit");
    string folder = root + "\\" + string(MaxPathLength - root.size() - 15, 'f');
    REQUIRE(MakeDirectory(folder.c_str()));
    string longest = folder + "\\Vorlandix.exe";
    REQUIRE(longest.size() == MaxPathLength);
    CHECK(WriteBytesToFile(longest.c_str(), Bytes("MZ").array()));
    CHECK(Contents(longest) == "MZ");
    CHECK_FALSE(WriteBytesToFile((folder + "\\Vorlandix.exe2").c_str(), Bytes("MZ").array()));
    CHECK(LastFileError() == FileTooLong);
    CHECK(Names(folder) == std::vector<string>{"Vorlandix.exe"});
}

TEST_CASE("the desktop folder ends with exactly one backslash") {
    char* desktop = GetSpecialFolder(FolderDesktop);
    REQUIRE(desktop != nullptr);
    string text = desktop;
    FreeText(desktop);
    REQUIRE(text.size() >= 2);
    CHECK(text.back() == '\\');
    CHECK(text[text.size() - 2] != '\\');
    CHECK(Exists(text));
}

// The target a link file points at, as the shell reads it back.
static string LinkTarget(const string& linkFile) {
    IShellLinkA* link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)))
        return "<no link object>";
    IPersistFile* file;
    string target = "<unreadable>";
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH);
        char path[MAX_PATH];
        if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

TEST_CASE("CreateShortcut adds .lnk by the last part of the name only and stores a full target") {
    string root = Scratch("link");
    string target = root + "\\Vorlandix.exe";
    REQUIRE(WriteBytesToFile(target.c_str(), Bytes("MZ").array()));
    REQUIRE(MakeDirectory((root + "\\first.last").c_str()));
    struct {
        string linkFile;
        string written;
    } cases[] = {
        {root + "\\Vorlandix", root + "\\Vorlandix.lnk"},
        {root + "\\first.last\\Vorlandix", root + "\\first.last\\Vorlandix.lnk"},
        {root + "\\Vorlandix.url", root + "\\Vorlandix.url"},
    };
    for (auto& c : cases) {
        CAPTURE(c.linkFile);
        CHECK(CreateShortcut(c.linkFile.c_str(), target.c_str()));
        CHECK(Exists(c.written));
        CHECK(LinkTarget(c.written) == target);
    }
    CHECK_FALSE(Exists(root + "\\Vorlandix.url.lnk"));
    CHECK(CreateShortcut((root + "\\Vorlandix").c_str(), target.c_str()));  // over an existing link

    // A relative install folder is taken from the current folder.
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(root.c_str());
    CHECK(CreateShortcut((root + "\\relative").c_str(), "Vorlandix.exe"));
    SetCurrentDirectoryA(current);
    CHECK(LinkTarget(root + "\\relative.lnk") == target);

    CHECK_FALSE(CreateShortcut((root + "\\missing\\Vorlandix").c_str(), target.c_str()));
}

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    doctest::Context context(argc, argv);
    return context.run();
}
