// A host model of the platform's regions behind effects/regions.h. Regions
// are exact pixel sets kept in banded form; the model checks the ownership
// rules, records every frame handed to a window and every pause, and never
// sleeps.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "effects/regions.h"

namespace RegionModel {

// Banded form: horizontal bands of rows top to bottom, each with its spans
// left to right; vertically adjacent bands with the same spans are one. Two
// equal pixel sets have the same rectangles.
typedef std::vector<RegionRect> Rects;

struct Frame {
    intptr_t window;
    Rects region;
    bool redraw;
    int created, deleted;  // regions created and deleted since the previous frame
};

// Forgets every region, frame, pause and fault.
void Reset();
const std::vector<Frame>& Frames();
const std::vector<uint32_t>& Pauses();
// Misuse seen: a double delete, use of a deleted region, deleting a region
// handed to a window, an unknown handle.
const std::vector<std::string>& Faults();
// Regions neither deleted nor handed to a window: leaks once an effect returned.
int LiveRegions();

Rects Intersect(const Rects& region, RegionRect rect);
// "left,top,right,bottom" per rectangle, separated by spaces; "-" when empty.
std::string Format(const Rects& region);

}  // namespace RegionModel
