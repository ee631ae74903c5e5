// A DLL for the DLL search test: loading it by its bare name must fail.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
