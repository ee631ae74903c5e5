#include "effects/region_model.h"

#include <algorithm>
#include <map>

using RegionModel::Frame;
using RegionModel::Rects;

namespace {

enum class Owner { Effect, Deleted, Window };

struct Entry {
    Rects rects;
    Owner owner;
};

struct Model {
    std::map<Region, Entry> regions;
    Region next = 1;  // handles are never reused, so a stale one is caught
    std::vector<Frame> frames;
    std::vector<uint32_t> pauses;
    std::vector<std::string> faults;
    int created = 0, deleted = 0;
};

Model model;

struct Span {
    int32_t from, to;
};

bool operator==(Span a, Span b) { return a.from == b.from && a.to == b.to; }

Rects FromRect(RegionRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    if (r.left == r.right || r.top == r.bottom) return {};
    return {r};
}

// The spans of a banded region within rows [top, bottom), which lie inside
// one of its bands whenever both are among its band edges.
std::vector<Span> SpansIn(const Rects& region, int32_t top, int32_t bottom) {
    std::vector<Span> spans;
    for (const RegionRect& r : region)
        if (r.top <= top && bottom <= r.bottom) spans.push_back({r.left, r.right});
    return spans;
}

bool Covers(const std::vector<Span>& spans, int32_t x) {
    for (Span s : spans)
        if (s.from <= x && x < s.to) return true;
    return false;
}

// Any pixelwise combination of two banded regions, itself banded: cut both at
// every edge of either, keep the cells the rule keeps, merge neighbours.
template <typename Keep>
Rects Combine(const Rects& a, const Rects& b, Keep keep) {
    std::vector<int32_t> ys;
    for (const Rects* region : {&a, &b})
        for (const RegionRect& r : *region) ys.insert(ys.end(), {r.top, r.bottom});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Rects result;
    std::vector<Span> previous;
    int32_t previousBottom = 0;
    size_t previousStart = 0;
    for (size_t band = 0; band + 1 < ys.size(); band++) {
        const int32_t top = ys[band], bottom = ys[band + 1];
        const std::vector<Span> inA = SpansIn(a, top, bottom), inB = SpansIn(b, top, bottom);
        std::vector<int32_t> xs;
        for (const std::vector<Span>* spans : {&inA, &inB})
            for (Span s : *spans) xs.insert(xs.end(), {s.from, s.to});
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

        std::vector<Span> spans;
        for (size_t cell = 0; cell + 1 < xs.size(); cell++) {
            const int32_t x = xs[cell];
            if (!keep(Covers(inA, x), Covers(inB, x))) continue;
            if (!spans.empty() && spans.back().to == x) spans.back().to = xs[cell + 1];
            else spans.push_back({x, xs[cell + 1]});
        }
        if (spans.empty()) continue;
        if (!result.empty() && previousBottom == top && spans == previous) {
            for (size_t r = previousStart; r < result.size(); r++) result[r].bottom = bottom;
        } else {
            previousStart = result.size();
            for (Span s : spans) result.push_back({s.from, top, s.to, bottom});
        }
        previous = spans;
        previousBottom = bottom;
    }
    return result;
}

void Fault(const std::string& what) { model.faults.push_back(what); }

// The region's entry when the effect may still use it, else a fault.
Entry* Usable(Region region, const char* use) {
    auto found = model.regions.find(region);
    if (found == model.regions.end()) Fault(std::string(use) + " of an unknown region");
    else if (found->second.owner == Owner::Deleted) Fault(std::string(use) + " of a deleted region");
    else if (found->second.owner == Owner::Window) Fault(std::string(use) + " of a region handed to a window");
    else return &found->second;
    return nullptr;
}

}  // namespace

Region CreateRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    model.created++;
    model.regions[model.next] = Entry{FromRect({left, top, right, bottom}), Owner::Effect};
    return model.next++;
}

void CombineRegions(Region target, Region first, Region second, RegionMode mode) {
    Entry *to = Usable(target, "combine"), *a = Usable(first, "combine"), *b = Usable(second, "combine");
    if (!to || !a || !b) return;
    if (mode == RegionOr) to->rects = Combine(a->rects, b->rects, [](bool x, bool y) { return x || y; });
    else if (mode == RegionXor) to->rects = Combine(a->rects, b->rects, [](bool x, bool y) { return x != y; });
    else Fault("combine with mode " + std::to_string(mode));
}

void DeleteRegion(Region region) {
    if (Entry* entry = Usable(region, "delete")) {
        entry->owner = Owner::Deleted;
        model.deleted++;
    }
}

void SetWindowRegion(intptr_t windowHandle, Region region, bool redraw) {
    Entry* entry = Usable(region, "hand-over");
    if (!entry) return;
    entry->owner = Owner::Window;
    model.frames.push_back(Frame{windowHandle, entry->rects, redraw, model.created, model.deleted});
    model.created = model.deleted = 0;
}

void Pause(uint32_t milliseconds) { model.pauses.push_back(milliseconds); }

namespace RegionModel {

void Reset() { model = Model(); }
const std::vector<Frame>& Frames() { return model.frames; }
const std::vector<uint32_t>& Pauses() { return model.pauses; }
const std::vector<std::string>& Faults() { return model.faults; }

int LiveRegions() {
    int live = 0;
    for (const auto& [handle, entry] : model.regions) live += entry.owner == Owner::Effect;
    return live;
}

Rects Intersect(const Rects& region, RegionRect rect) {
    return Combine(region, FromRect(rect), [](bool x, bool y) { return x && y; });
}

std::string Format(const Rects& region) {
    if (region.empty()) return "-";
    std::string text;
    for (const RegionRect& r : region) {
        if (!text.empty()) text += ' ';
        text += std::to_string(r.left) + ',' + std::to_string(r.top) + ',' + std::to_string(r.right) + ',' +
                std::to_string(r.bottom);
    }
    return text;
}

}  // namespace RegionModel
