// Prints the texts of the dialog boxes on screen in UTF-8, for the
// end-to-end tests: X shows a message box's title but not its text.
#define WIN32_LEAN_AND_MEAN
#include <stdio.h>
#include <windows.h>

static BOOL CALLBACK PrintText(HWND child, LPARAM) {
    WCHAR kind[16], text[2048];
    char utf8[6144];
    if (GetClassNameW(child, kind, 16) && lstrcmpiW(kind, L"Static") == 0 && GetWindowTextW(child, text, 2048) > 0 &&
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr) > 0)
        printf("%s\n", utf8);
    return TRUE;
}

static BOOL CALLBACK PrintBox(HWND window, LPARAM) {
    WCHAR kind[16];
    if (IsWindowVisible(window) && GetClassNameW(window, kind, 16) && lstrcmpW(kind, L"#32770") == 0)
        EnumChildWindows(window, PrintText, 0);
    return TRUE;
}

int main() {
    EnumWindows(PrintBox, 0);
    return 0;
}
