// The install step on its own: OnProgressCreated's work (create the folder,
// write and verify the payload) into C:\vx-bench\<n>, timed in the process.
// Prints one line per run, "install <microseconds>"; asserts nothing.
// Usage: install-step-bench.exe <runs>
#include <stdio.h>
#include <stdlib.h>

#include "installer/handlers.h"
#include "runtime/services.h"
#include "runtime/win32/toolkit.h"

int main(int argc, char** argv) {
    const int runs = argc > 1 ? atoi(argv[1]) : 15;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    StartRunTime(GetModuleHandleA(nullptr));
    char folder[64];
    // The first install loads the progress window that the handler's
    // progress settings need; the timed runs follow it, one folder each.
    LoadWindow(LocationWindow::Self);
    SetProperty(LocationWindow::安装位置, PropText, "C:\\vx-bench\\load");
    if (!LoadWindow(ProgressWindow::Self)) return 1;
    for (int run = 0; run < runs; run++) {
        snprintf(folder, sizeof folder, "C:\\vx-bench\\%d", run);
        SetProperty(LocationWindow::安装位置, PropText, folder);
        QueryPerformanceCounter(&start);
        OnProgressCreated();
        QueryPerformanceCounter(&end);
        if (!IsCreated(ProgressWindow::Self)) return 1;  // the install failed
        printf("install %.1f\n", (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart);
    }
    return 0;
}
