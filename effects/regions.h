// The platform's region operations and the pause between frames, as plain
// functions: the product links the Win32 calls (runtime/win32/regions.cpp),
// the host links a model that checks ownership and records every frame
// (effects/region_model.cpp), so host tests never sleep.
#pragma once
#include <stdint.h>

typedef intptr_t Region;  // a region handle; 0 names none

// Covers left <= x < right, top <= y < bottom; corners in either order.
struct RegionRect {
    int32_t left, top, right, bottom;
};

// The platform's combine codes, passed through unchanged.
enum RegionMode : int32_t { RegionOr = 2, RegionXor = 3 };

Region CreateRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom);
// target may be one of the sources.
void CombineRegions(Region target, Region first, Region second, RegionMode mode);
// Only for a region that was never handed to a window.
void DeleteRegion(Region region);
// The region passes to the window system; the one it replaces is released there.
void SetWindowRegion(intptr_t windowHandle, Region region, bool redraw);
void Pause(uint32_t milliseconds);
