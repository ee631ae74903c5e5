// The reference window program: one 588 x 438 popup in the middle of the
// screen that paints itself grey and closes with the window. Built like the
// installer (same toolchain, flags and link options) for the size and
// launch comparisons. With VX_BENCH it writes the wall-clock time of its
// first paint to standard output, as the installer's bench build does for
// its frames.
#include <windows.h>

#ifdef VX_BENCH
#include "bench/clock.h"
#endif

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
            EndPaint(hwnd, &paint);
#ifdef VX_BENCH
            static bool painted;
            if (!painted) BenchMark("paint");
            painted = true;
#endif
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "MinimalWindow";
    RegisterClassA(&windowClass);
    const int width = 588, height = 438;
    CreateWindowExA(0, "MinimalWindow", "Minimal window", WS_POPUP | WS_VISIBLE,
                    (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                    width, height, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
