#include "tests/win/hooked_regions.h"

#include "effects/regions.h"

void (*AfterWindowRegion)(HWND window);
void (*PauseInstead)(uint32_t milliseconds);

Region CreateRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return (Region)CreateRectRgn(left, top, right, bottom);
}

void CombineRegions(Region target, Region first, Region second, RegionMode mode) {
    CombineRgn((HRGN)target, (HRGN)first, (HRGN)second, mode);
}

void DeleteRegion(Region region) { DeleteObject((HRGN)region); }

void SetWindowRegion(intptr_t windowHandle, Region region, bool redraw) {
    SetWindowRgn((HWND)windowHandle, (HRGN)region, redraw);
    if (AfterWindowRegion) AfterWindowRegion((HWND)windowHandle);
}

void Pause(uint32_t milliseconds) {
    if (PauseInstead) PauseInstead(milliseconds);
    else Sleep(milliseconds);
}
