// The process entry: start the run time, run the installer's entry and end
// the program with its result.
#include "installer/handlers.h"
#include "runtime/services.h"
#include "runtime/win32/toolkit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    StartRunTime(instance);
    ExitProgram(ProgramEntry());
}
