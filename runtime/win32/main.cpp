// The process entry: make the DLL search safe, start the run time, run the
// installer's entry and end the program with its result.
#include "installer/handlers.h"
#include "runtime/services.h"
#include "runtime/win32/toolkit.h"

#include <commctrl.h>

extern HMODULE CommonControls;

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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    Instance = instance;
    LoadCommonControls();
    RegisterClasses();
    ExitProgram(ProgramEntry());
}
