// effect-regions: runs an effect on a real window, reads each frame's region
// back from the window system and prints it as effect-frames does, so the
// two can be compared line for line.
//   effect-regions open|close KIND STEPS WIDTH HEIGHT
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "effects/effects.h"
#include "runtime/win32/toolkit.h"
#include "tests/win/hooked_regions.h"

namespace {

int32_t Width, Height, FrameNumber;

bool ParseInt(const char* text, int32_t* value) {
    char* end;
    long long parsed = strtoll(text, &end, 10);
    if (*text == '\0' || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    *value = (int32_t)parsed;
    return true;
}

// The window's region as the window system keeps it, clipped to the window,
// in the order GetRegionData gives.
void PrintShown(HWND window) {
    HRGN shown = CreateRectRgn(0, 0, 0, 0), inside = CreateRectRgn(0, 0, Width, Height);
    const int got = GetWindowRgn(window, shown);
    CombineRgn(shown, shown, inside, RGN_AND);
    DeleteObject(inside);
    const DWORD size = GetRegionData(shown, 0, nullptr);
    RGNDATA* data = (RGNDATA*)malloc(size);
    GetRegionData(shown, size, data);
    DeleteObject(shown);
    printf("%d", FrameNumber++);
    const RECT* rects = (const RECT*)data->Buffer;
    if (got == ERROR) printf(" no-region");
    else if (data->rdh.nCount == 0) printf(" -");
    for (DWORD i = 0; i < data->rdh.nCount; i++)
        printf(" %ld,%ld,%ld,%ld", rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    printf("\n");
    free(data);
}

}  // namespace

int main(int argc, char** argv) {
    int32_t kind, steps;
    const bool opening = argc == 6 && strcmp(argv[1], "open") == 0;
    if (argc != 6 || (!opening && strcmp(argv[1], "close") != 0) || !ParseInt(argv[2], &kind) ||
        !ParseInt(argv[3], &steps) || !ParseInt(argv[4], &Width) || !ParseInt(argv[5], &Height) || Width < 0 ||
        Height < 0) {
        fputs("usage: effect-regions open|close KIND STEPS WIDTH HEIGHT\n", stderr);
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY);  // "\n" as the host tool writes it

    StartRunTime(GetModuleHandleA(nullptr));
    LoadWindow(FinishWindow::Self);
    const HWND window = (HWND)GetWindowHandle(FinishWindow::Self);
    SetWindowPos(window, nullptr, 0, 0, Width, Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetProperty(FinishWindow::Self, PropWidth) != Width || GetProperty(FinishWindow::Self, PropHeight) != Height) {
        fprintf(stderr, "effect-regions: the window did not take the size %dx%d\n", Width, Height);
        return 1;
    }

    // Frames of kinds 0 to 11 count from 1, the blinds' from 0.
    FrameNumber = kind >= 0 && kind <= 11 ? 1 : 0;
    AfterWindowRegion = PrintShown;
    if (opening) OpenEffect(FinishWindow::Self, kind, 0, steps);
    else CloseEffect(FinishWindow::Self, kind, 0, steps);
    fflush(stdout);
    return 0;
}
