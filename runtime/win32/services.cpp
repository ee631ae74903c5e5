// The run time's services on Windows: program life, windows, dialogs, the
// shell and the file system.
#include "runtime/win32/toolkit.h"

#include <commctrl.h>
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
static HMODULE CommonControls;

// DLLs load from the system folder only, so a DLL dropped next to the
// installer (a downloads folder, say) is never picked up instead.
static void RestrictDllSearch() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefault = (SetDefaultDllDirectoriesFn)(void*)GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else SetDllDirectoryA("");
}

// The progress bar's class lives in the common controls library, loaded by
// its full path rather than imported.
static void LoadCommonControls() {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH - 16);
    if (length == 0 || length >= MAX_PATH - 16) return;
    lstrcatA(path, "\\comctl32.dll");
    CommonControls = LoadLibraryA(path);
    typedef BOOL(WINAPI * InitFn)(const INITCOMMONCONTROLSEX*);
    auto init = (InitFn)(void*)GetProcAddress(CommonControls, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    if (init) init(&classes);
}

void StartRunTime(HINSTANCE instance) {
    RestrictDllSearch();
    Instance = instance;
    LoadCommonControls();
    RegisterClasses();
}

void EndProgram(int32_t code, bool callEndRoutines) {
    if (callEndRoutines)
        for (int i = 0; i < EndRoutineCount; i++) EndRoutines[i]();
    if (CommonControls) FreeLibrary(CommonControls);
    DestroyAllWindows();
    DestroyIcons();
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
    IShellLinkA* link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                (void**)&link)))
        return false;
    IPersistFile* file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        link->Release();
        return false;
    }
    link->SetPath(target);
    link->SetShowCmd(SW_SHOW);

    // Only the name after the last backslash decides whether ".lnk" is added.
    char name[MAX_PATH];
    const char* separator = FindLastBackslash(linkFile);
    const char* lastPart = separator ? separator + 1 : linkFile;
    bool dotted = false;
    for (const char* p = lastPart; *p; p++) {
        if (IsLeadByte((unsigned char)*p) && p[1]) p++;
        else if (*p == '.') dotted = true;
    }
    int length = lstrlenA(linkFile);
    bool fits = length + (dotted ? 0 : 4) < MAX_PATH;
    WCHAR wide[MAX_PATH];
    bool saved = false;
    if (fits) {
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

bool MakeDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }

bool WriteBytesToFile(const char* path, const ByteArray* bytes) {
    if (!path[0]) return false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes->length == 0 ||
              (WriteFile(file, ByteArrayBytes(bytes), bytes->length, &written, nullptr) &&
               written == bytes->length);
    return CloseHandle(file) && ok;
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
