// The run time's services on Windows: program life, windows, dialogs, the
// shell and the file system.
#include "runtime/win32/toolkit.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include "runtime/cp936.h"
#include "runtime/services.h"

const char OutOfMemory[] = "\xc4\xda\xb4\xe6\xb2\xbb\xd7\xe3";                   // 内存不足
const char NotLoaded[] = "\xb4\xb0\xbf\xda\xce\xb4\xd4\xd8\xc8\xeb";              // 窗口未载入
const char Unsupported[] = "\xb2\xbb\xd6\xa7\xb3\xd6\xb5\xc4\xca\xf4\xd0\xd4";    // 不支持的属性
const char StartWindowFailed[] =
    "\xd4\xd8\xc8\xeb\xc6\xf4\xb6\xaf\xb4\xb0\xbf\xda\xca\xa7\xb0\xdc";  // 载入启动窗口失败
static const char ErrorTitle[] = "\xd4\xcb\xd0\xd0\xca\xb1\xb4\xed\xce\xf3";  // 运行时错误

enum { EndRoutineMax = 8 };
static Handler EndRoutines[EndRoutineMax];
static int EndRoutineCount;

// DLLs load from the system folder only, so a DLL dropped next to the
// installer (a downloads folder, say) is never picked up instead.
static void RestrictDllSearch() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefault = (SetDefaultDllDirectoriesFn)(void*)GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else SetDllDirectoryA("");
}

void StartRunTime(HINSTANCE instance) {
    RestrictDllSearch();
    Instance = instance;
    RegisterClasses();
}

void EndProgram(int32_t code, bool callEndRoutines) {
    if (callEndRoutines)
        for (int i = 0; i < EndRoutineCount; i++) EndRoutines[i]();
    // The windows go before the library and icons they use.
    DestroyAllWindows();
    ReleaseToolkit();
    OleUninitialize();
    ExitProcess((UINT)code);
}

void FatalError(const char* what) {
    MessageBoxA(nullptr, what, ErrorTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    EndProgram(-1, false);
}

void ExitProgram(int32_t code) { EndProgram(code, true); }

void PrepareProgram() {
    OleInitialize(nullptr);
    // The installer's own folder becomes the base of relative paths.
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    if (char* separator = (char*)FindLastBackslash(path)) {
        separator[1] = 0;
        SetCurrentDirectoryA(path);
    }
}

void AddEndRoutine(Handler routine) {
    for (int i = 0; i < EndRoutineCount; i++)
        if (EndRoutines[i] == routine) return;
    if (EndRoutineCount < EndRoutineMax) EndRoutines[EndRoutineCount++] = routine;
}

bool LoadWindow(ComponentId window) {
    LiveWindow* live = FindLive(window.window);
    if (!live) return false;
    if (live->hwnd && IsWindow(live->hwnd)) {
        if (IsIconic(live->hwnd)) ShowWindow(live->hwnd, SW_RESTORE);
        else SetActiveWindow(live->hwnd);
        return true;
    }
    return CreateLiveWindow(live->def);
}

void UnloadWindow(ComponentId window) {
    LiveWindow* live = FindLive(window.window);
    if (live && live->hwnd) DestroyWindow(live->hwnd);
}

void LoadStartWindow(ComponentId window) {
    LiveWindow* live = FindLive(window.window);
    if (!live || !CreateLiveWindow(live->def)) FatalError(StartWindowFailed);
}

static void Dispatch(MSG* msg) {
    if (PreTranslate(msg)) return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}

void RunMessageLoop() {
    LoopRunning = true;
    if (!AnyWindowLoaded()) return;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(&msg);
}

void ProcessEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) return;  // stays for the message loop
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        Dispatch(&msg);
    }
}

int32_t ShowMessageBox(const char* text, uint32_t style, const char* title) {
    if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    int pressed = MessageBoxA(nullptr, text, title, style);
    // IDOK (1) to IDNO (7) become 0 to 6.
    return pressed >= IDOK && pressed <= IDNO ? pressed - 1 : 0;
}

char* BrowseForFolder(const char* prompt) {
    HWND active = GetActiveWindow(), foreground = GetForegroundWindow();
    HWND owner = IsWindow(active) ? active : nullptr;
    // The dialog is modal to the whole program, not just to its owner.
    struct {
        HWND hwnd;
        bool wasEnabled;
    } windows[MaxWindows];
    int count = 0;
    for (int i = 0; i < MaxWindows; i++) {
        HWND hwnd = (HWND)(IsCreated(WindowDefs[i].id) ? GetWindowHandle(WindowDefs[i].id) : 0);
        if (!hwnd) continue;
        windows[count++] = {hwnd, EnableWindow(hwnd, FALSE) == 0};
    }
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = prompt;
    info.ulFlags = BIF_EDITBOX;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    for (int i = 0; i < count; i++)
        if (IsWindow(windows[i].hwnd)) EnableWindow(windows[i].hwnd, windows[i].wasEnabled);
    if (IsWindow(foreground)) SetForegroundWindow(foreground);
    if (IsWindow(active)) SetActiveWindow(active);
    if (!item) return nullptr;

    char path[MAX_PATH];
    bool found = SHGetPathFromIDListA(item, path) && path[0];
    IMalloc* shellMalloc;
    if (SUCCEEDED(SHGetMalloc(&shellMalloc))) {
        shellMalloc->Free(item);
        shellMalloc->Release();
    }
    if (!found) return nullptr;
    char* text = AllocText(lstrlenA(path) + 1);
    lstrcpyA(text, path);
    return text;
}

char* GetSpecialFolder(int32_t number) {
    static const int Folders[] = {CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                                  CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA};
    char path[MAX_PATH + 1];
    UINT length = 0;
    if (number >= 1 && number <= 8) {
        if (SHGetSpecialFolderPathA(nullptr, path, Folders[number - 1], FALSE)) length = lstrlenA(path);
    } else if (number == 9) {
        length = GetWindowsDirectoryA(path, MAX_PATH);
    } else if (number == 10) {
        length = GetSystemDirectoryA(path, MAX_PATH);
    } else if (number == 11) {
        length = GetTempPathA(MAX_PATH, path);
    }
    if (length == 0 || length >= MAX_PATH) return nullptr;
    if (!EndsWithBackslash(path)) {
        if (length + 1 >= MAX_PATH) return nullptr;
        path[length++] = '\\';
        path[length] = 0;
    }
    char* text = AllocText(length + 1);
    CopyMemory(text, path, length + 1);
    return text;
}

bool CreateShortcut(const char* linkFile, const char* target) {
    // __uuidof places just these GUIDs in the image; libuuid's would bring
    // tens of kilobytes of others along.
    IShellLinkA* link;
    if (FAILED(CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkA),
                                (void**)&link)))
        return false;
    IPersistFile* file;
    if (FAILED(link->QueryInterface(__uuidof(IPersistFile), (void**)&file))) {
        link->Release();
        return false;
    }
    // A relative target (a relative install folder) would be resolved from
    // wherever the link is opened: the link keeps the full path.
    char fullTarget[MAX_PATH];
    DWORD fullLength = GetFullPathNameA(target, MAX_PATH, fullTarget, nullptr);
    bool targetSet =
        fullLength > 0 && fullLength < MAX_PATH && SUCCEEDED(link->SetPath(fullTarget));
    link->SetShowCmd(SW_SHOW);

    // Only the name after the last backslash decides whether ".lnk" is added.
    char name[MAX_PATH];
    const char* separator = FindLastBackslash(linkFile);
    const char* lastPart = separator ? separator + 1 : linkFile;
    bool dotted = FindLastChar(lastPart, '.') != nullptr;
    int length = lstrlenA(linkFile);
    bool fits = length + (dotted ? 0 : 4) < MAX_PATH;
    WCHAR wide[MAX_PATH];
    bool saved = false;
    if (fits && targetSet) {
        lstrcpyA(name, linkFile);
        if (!dotted) lstrcatA(name, ".lnk");
        saved = MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH) > 0 &&
                SUCCEEDED(file->Save(wide, TRUE));
    }
    file->Release();
    link->Release();
    return saved;
}

void RunFile(int32_t verb, const char* file) {
    static const char* const Verbs[] = {"edit", "explore", "find", "open", "print"};
    const char* operation = verb >= 1 && verb <= 5 ? Verbs[verb - 1] : nullptr;
    ShellExecuteA(nullptr, operation, file, nullptr, "", SW_SHOWNORMAL);
}

static int32_t FileError = FileOk;

// The system's error code in the terms the installer tells the user.
static bool Failed() {
    switch (GetLastError()) {
        case ERROR_ALREADY_EXISTS: case ERROR_FILE_EXISTS: FileError = FileExists; break;
        case ERROR_ACCESS_DENIED: case ERROR_WRITE_PROTECT: FileError = FileAccessDenied; break;
        case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: FileError = FileDiskFull; break;
        case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: case ERROR_USER_MAPPED_FILE:
            FileError = FileInUse; break;
        case ERROR_INVALID_NAME: case ERROR_BAD_PATHNAME: FileError = FileBadName; break;
        case ERROR_FILENAME_EXCED_RANGE: FileError = FileTooLong; break;
        // GetTempFileNameA gives ERROR_DIRECTORY for a folder that is not there.
        case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_DIRECTORY: case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY: case ERROR_BAD_NETPATH: case ERROR_BAD_NET_NAME: FileError = FileNotFound; break;
        default: FileError = FileOtherError;
    }
    return false;
}

static bool Succeeded() {
    FileError = FileOk;
    return true;
}

int32_t LastFileError() { return FileError; }

bool MakeDirectory(const char* path) { return CreateDirectoryA(path, nullptr) ? Succeeded() : Failed(); }

// A nearly full disk can take part of a write and report success: the next
// write gives the reason, and one that takes nothing means a full disk.
static bool WriteAll(HANDLE file, const uint8_t* bytes, DWORD length) {
    for (DWORD written; length; bytes += written, length -= written) {
        if (!WriteFile(file, bytes, length, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
    }
    return true;
}

// Whether the file holds exactly these bytes, read back through a fresh handle.
static bool HoldsBytes(const char* path, const uint8_t* bytes, DWORD length) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failed();
    LARGE_INTEGER size;
    bool same = GetFileSizeEx(file, &size) && size.QuadPart == length;
    uint8_t chunk[16384];
    for (DWORD done = 0, got; same && done < length; done += got) {
        DWORD want = length - done < sizeof chunk ? length - done : sizeof chunk;
        same = ReadFile(file, chunk, want, &got, nullptr) && got == want && memcmp(chunk, bytes + done, got) == 0;
    }
    CloseHandle(file);
    if (!same) FileError = FileVerifyFailed;
    return same;
}

// A replace that fails for want of access is told apart: a running program
// holds the file (Windows refuses to replace a mapped executable), or the
// file itself may not be written.
static bool ReplaceFailed(const char* path) {
    if (GetLastError() != ERROR_ACCESS_DENIED) return Failed();
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        SetLastError(ERROR_ACCESS_DENIED);
    }
    return Failed();
}

// The new content goes to a temporary file in the same folder and takes the
// old file's place in one rename only after it was flushed and read back,
// so a failure at any point leaves the old file as it was.
bool WriteBytesToFile(const char* path, const ByteArray* bytes) {
    FileError = FileNoName;
    if (!path[0]) return false;
    // The temporary file's folder: the path up to and with its last backslash.
    const char* separator = FindLastBackslash(path);
    int folderLength = separator ? (int)(separator - path) + 1 : 0;
    FileError = FileTooLong;
    if (lstrlenA(path) >= MAX_PATH || folderLength > MAX_PATH - 14) return false;
    char folder[MAX_PATH] = ".", temporary[MAX_PATH];
    if (separator) lstrcpynA(folder, path, folderLength + 1);
    if (!GetTempFileNameA(folder, "vx", 0, temporary)) return Failed();

    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool opened = file != INVALID_HANDLE_VALUE;
    bool ok = (opened && WriteAll(file, ByteArrayBytes(bytes), bytes->length) && FlushFileBuffers(file)) || Failed();
    if (opened && !CloseHandle(file) && ok) ok = Failed();
    ok = ok && HoldsBytes(temporary, ByteArrayBytes(bytes), bytes->length);
    if (ok && !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = ReplaceFailed(path);
    if (!ok) DeleteFileA(temporary);
    return ok && Succeeded();
}

char* AllocText(uint32_t size) {
    char* text = (char*)HeapAlloc(GetProcessHeap(), 0, size);
    if (!text) FatalError(OutOfMemory);
    return text;
}

extern "C" IMAGE_DOS_HEADER __ImageBase;

// The program's own constants lie inside its image; only heap blocks are freed.
void FreeText(const char* text) {
    uintptr_t image = (uintptr_t)&__ImageBase, address = (uintptr_t)text;
    const IMAGE_NT_HEADERS* headers = (const IMAGE_NT_HEADERS*)(image + __ImageBase.e_lfanew);
    if (!text || (address >= image && address - image < headers->OptionalHeader.SizeOfImage)) return;
    HeapFree(GetProcessHeap(), 0, (void*)text);
}
