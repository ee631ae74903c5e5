#include "tests/win/hooked_regions.h"

#include "effects/regions.h"

void (*AfterWindowRegion)(HWND window);
void (*PauseInstead)(uint32_t milliseconds);

// The product's own calls, compiled under these names (tests/win/win.cmake).
void RealSetWindowRegion(intptr_t windowHandle, Region region, bool redraw);
void RealPause(uint32_t milliseconds);

void SetWindowRegion(intptr_t windowHandle, Region region, bool redraw) {
    RealSetWindowRegion(windowHandle, region, redraw);
    if (AfterWindowRegion) AfterWindowRegion((HWND)windowHandle);
}

void Pause(uint32_t milliseconds) {
    if (PauseInstead) PauseInstead(milliseconds);
    else RealPause(milliseconds);
}
