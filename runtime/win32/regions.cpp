// The effects' region seam over GDI, USER and the kernel's pause.
#include <windows.h>

#include "effects/regions.h"

static_assert(RegionOr == RGN_OR && RegionXor == RGN_XOR, "combine codes pass through unchanged");

Region CreateRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return (Region)CreateRectRgn(left, top, right, bottom);
}

void CombineRegions(Region target, Region first, Region second, RegionMode mode) {
    CombineRgn((HRGN)target, (HRGN)first, (HRGN)second, mode);
}

void DeleteRegion(Region region) { DeleteObject((HRGN)region); }

void SetWindowRegion(intptr_t windowHandle, Region region, bool redraw) {
    SetWindowRgn((HWND)windowHandle, (HRGN)region, redraw);
}

void Pause(uint32_t milliseconds) { Sleep(milliseconds); }
