#include <doctest/doctest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "effects/region_model.h"

using RegionModel::Rects;
using std::string;

namespace {

Region Create(RegionRect r) { return CreateRectRegion(r.left, r.top, r.right, r.bottom); }

// What a region holds, read back the only way the model shows it: as a frame.
Rects Content(Region region) {
    SetWindowRegion(1, region, true);
    return RegionModel::Frames().back().region;
}

typedef std::set<std::pair<int32_t, int32_t>> Pixels;

// The rectangle rules written out pixel by pixel.
Pixels PixelsOf(RegionRect r) {
    Pixels pixels;
    for (int32_t y = std::min(r.top, r.bottom); y < std::max(r.top, r.bottom); y++)
        for (int32_t x = std::min(r.left, r.right); x < std::max(r.left, r.right); x++) pixels.insert({x, y});
    return pixels;
}

Pixels PixelsOf(const Rects& region) {
    Pixels pixels;
    for (const RegionRect& r : region) pixels.merge(PixelsOf(r));
    return pixels;
}

// Banded form: non-empty rectangles ordered by band and then left to right,
// spans in a band apart, bands apart, and touching bands with other spans.
bool Banded(const Rects& region) {
    std::vector<std::pair<int32_t, int32_t>> previousSpans, spans;
    int32_t previousBottom = INT32_MIN;
    for (size_t i = 0; i < region.size(); i++) {
        const RegionRect& r = region[i];
        if (r.left >= r.right || r.top >= r.bottom) return false;
        const bool bandStarts = i == 0 || r.top != region[i - 1].top;
        if (!bandStarts && (r.bottom != region[i - 1].bottom || r.left <= region[i - 1].right)) return false;
        if (bandStarts && i > 0) {
            if (r.top < region[i - 1].bottom) return false;
            previousSpans = spans, previousBottom = region[i - 1].bottom, spans.clear();
        }
        spans.push_back({r.left, r.right});
        const bool bandEnds = i + 1 == region.size() || region[i + 1].top != r.top;
        if (bandEnds && previousBottom == r.top && spans == previousSpans) return false;
    }
    return true;
}

}  // namespace

TEST_CASE("region model: rectangle rules, union and symmetric difference in banded form") {
    struct Case {
        RegionRect a, b;
        RegionMode mode;
        string result;
    };
    const Case cases[] = {
        {{0, 0, 4, 4}, {2, 2, 6, 6}, RegionOr, "0,0,4,2 0,2,6,4 2,4,6,6"},
        {{0, 0, 4, 4}, {2, 2, 6, 6}, RegionXor, "0,0,4,2 0,2,2,4 4,2,6,4 2,4,6,6"},
        {{0, 0, 4, 4}, {1, 1, 3, 3}, RegionXor, "0,0,4,1 0,1,1,3 3,1,4,3 0,3,4,4"},
        {{0, 0, 4, 4}, {0, 0, 4, 4}, RegionXor, "-"},
        {{4, 4, 0, 0}, {0, 0, 0, 0}, RegionOr, "0,0,4,4"},  // corners in either order
        {{5, 1, 2, 4}, {0, 0, 0, 0}, RegionOr, "2,1,5,4"},
        {{3, 0, 3, 9}, {0, 7, 9, 7}, RegionOr, "-"},  // zero width, zero height
        {{0, 0, 4, 2}, {0, 2, 4, 5}, RegionOr, "0,0,4,5"},  // touching bands merge
        {{0, 0, 2, 3}, {2, 0, 5, 3}, RegionXor, "0,0,5,3"},  // touching spans merge
        {{0, 0, 2, 2}, {0, 3, 2, 5}, RegionOr, "0,0,2,2 0,3,2,5"},
        {{-3, -3, 1, 1}, {0, 0, 2, 2}, RegionOr, "-3,-3,1,0 -3,0,2,1 0,1,2,2"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.result);
        RegionModel::Reset();
        const Region a = Create(c.a), b = Create(c.b);
        CombineRegions(a, a, b, c.mode);
        DeleteRegion(b);
        CHECK(RegionModel::Format(Content(a)) == c.result);
        CHECK(RegionModel::Faults().empty());
    }
    CHECK(RegionModel::Format(RegionModel::Intersect({{-5, -5, 3, 3}, {8, 8, 12, 12}}, {0, 0, 10, 10})) ==
          "0,0,3,3 8,8,10,10");
}

TEST_CASE("region model: chains of unions and differences match a pixel-by-pixel reference") {
    uint32_t seed = 12345;
    auto next = [&](int32_t limit) {
        seed = seed * 1103515245u + 12345u;
        return (int32_t)((seed >> 16) % (uint32_t)limit);
    };
    for (int round = 0; round < 300; round++) {
        RegionModel::Reset();
        const Region region = CreateRectRegion(0, 0, 0, 0);
        Pixels expected;
        for (int step = next(6); step >= 0; step--) {
            const RegionRect r{next(14) - 2, next(14) - 2, next(14) - 2, next(14) - 2};
            const RegionMode mode = next(2) ? RegionOr : RegionXor;
            for (const auto& pixel : PixelsOf(r))
                if (mode == RegionOr || !expected.erase(pixel)) expected.insert(pixel);
            const Region rect = Create(r);
            CombineRegions(region, rect, region, mode);  // the target as the second source
            DeleteRegion(rect);
        }
        const Rects content = Content(region);
        CAPTURE(RegionModel::Format(content));
        REQUIRE(PixelsOf(content) == expected);
        REQUIRE(Banded(content));
    }
}

TEST_CASE("region model: misuse of regions is reported") {
    struct Case {
        string name;
        std::function<void()> misuse;
        size_t faults;
        int live;
    };
    const Case cases[] = {
        {"leak", [] { CreateRectRegion(0, 0, 1, 1); }, 0, 1},
        {"double delete", [] {
             const Region r = CreateRectRegion(0, 0, 1, 1);
             DeleteRegion(r);
             DeleteRegion(r);
         }, 1, 0},
        {"deleting a region handed to a window", [] {
             const Region r = CreateRectRegion(0, 0, 1, 1);
             SetWindowRegion(1, r, true);
             DeleteRegion(r);
         }, 1, 0},
        {"reusing a region handed to a window", [] {
             const Region r = CreateRectRegion(0, 0, 1, 1), s = CreateRectRegion(0, 0, 2, 2);
             SetWindowRegion(1, r, true);
             CombineRegions(r, s, s, RegionOr);
             SetWindowRegion(1, r, true);
             DeleteRegion(s);
         }, 2, 0},
        {"combining a deleted region", [] {
             const Region r = CreateRectRegion(0, 0, 1, 1), s = CreateRectRegion(0, 0, 2, 2);
             DeleteRegion(s);
             CombineRegions(r, r, s, RegionXor);
             DeleteRegion(r);
         }, 1, 0},
        {"an unknown handle", [] { DeleteRegion(77); }, 1, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        RegionModel::Reset();
        c.misuse();
        CHECK(RegionModel::Faults().size() == c.faults);
        CHECK(RegionModel::LiveRegions() == c.live);
    }
}
