// Misuses the run time the way a faulty handler could: reads a control of
// a window that is not loaded. The run time must report it and end the
// program with -1.
#include "runtime/services.h"
#include "runtime/win32/toolkit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    StartRunTime(instance);
    PrepareProgram();
    GetTextProperty(LocationWindow::安装位置, PropText);
    ExitProgram(0);  // never reached
}
