// DecodePicture on the small pictures in tests/fixtures (see
// make_fixtures.sh there for what each one holds).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include <stdlib.h>
#include <string.h>

#include "runtime/win32/picture.h"

#include "fixture_grey16_interlaced_png.h"
#include "fixture_grey_jpg.h"
#include "fixture_palette_png.h"
#include "fixture_quadrants_jpg.h"
#include "fixture_quadrants_progressive_jpg.h"
#include "fixture_rgba_png.h"

namespace {

struct Sample {
    int x, y;
    uint8_t r, g, b, a;
};

struct Case {
    const char* name;
    const unsigned char* data;
    size_t size;
    int width, height;
    bool has_alpha;
    int tolerance;  // per colour channel; JPEG is lossy
    Sample samples[6];
    int sample_count;
    bool check_colour_of_transparent;
};

const Case kCases[] = {
    {"baseline JPEG", fixture_quadrants_jpg, fixture_quadrants_jpg_size, 16, 16, false, 6,
     {{0, 0, 255, 0, 0, 255}, {15, 0, 0, 255, 0, 255}, {0, 15, 0, 0, 255, 255},
      {15, 15, 255, 255, 255, 255}, {4, 11, 0, 0, 255, 255}},
     5, true},
    {"progressive JPEG", fixture_quadrants_progressive_jpg, fixture_quadrants_progressive_jpg_size,
     16, 16, false, 6,
     {{3, 3, 255, 0, 0, 255}, {12, 3, 0, 255, 0, 255}, {3, 12, 0, 0, 255, 255},
      {12, 12, 255, 255, 255, 255}},
     4, true},
    {"greyscale JPEG", fixture_grey_jpg, fixture_grey_jpg_size, 8, 4, false, 2,
     {{0, 0, 128, 128, 128, 255}, {7, 3, 128, 128, 128, 255}},
     2, true},
    {"RGBA PNG", fixture_rgba_png, fixture_rgba_png_size, 3, 2, true, 0,
     {{0, 0, 255, 0, 0, 255}, {1, 0, 0, 255, 0, 128}, {2, 0, 0, 0, 255, 0},
      {0, 1, 0, 0, 0, 255}, {1, 1, 255, 255, 255, 255}, {2, 1, 64, 64, 64, 64}},
     6, true},
    // A palette entry that is fully transparent may hold any colour.
    {"palette PNG with tRNS", fixture_palette_png, fixture_palette_png_size, 3, 2, true, 0,
     {{0, 0, 255, 0, 0, 255}, {1, 0, 0, 255, 0, 255}, {2, 0, 0, 0, 0, 0},
      {0, 1, 0, 0, 0, 255}, {1, 1, 255, 255, 255, 255}, {2, 1, 64, 64, 64, 255}},
     6, false},
    // 16-bit samples keep their high byte; Adam7 rows come back in order.
    {"16-bit grey interlaced PNG", fixture_grey16_interlaced_png, fixture_grey16_interlaced_png_size,
     5, 3, false, 0,
     {{0, 0, 0, 0, 0, 255}, {1, 1, 0x40, 0x40, 0x40, 255}, {2, 2, 0x80, 0x80, 0x80, 255},
      {3, 0, 0xBF, 0xBF, 0xBF, 255}, {4, 2, 0xFF, 0xFF, 0xFF, 255}},
     5, true},
};

bool Near(int got, int want, int tolerance) { return abs(got - want) <= tolerance; }

}  // namespace

TEST_CASE("decodes JPEG and PNG into top-down BGRA") {
    for (const Case& c : kCases) {
        CAPTURE(c.name);
        Picture picture;
        REQUIRE(DecodePicture(c.data, c.size, &picture));
        CHECK(picture.width == c.width);
        CHECK(picture.height == c.height);
        CHECK(picture.has_alpha == c.has_alpha);
        REQUIRE(picture.pixels != nullptr);
        for (int i = 0; i < c.sample_count; ++i) {
            const Sample& s = c.samples[i];
            CAPTURE(s.x);
            CAPTURE(s.y);
            const uint8_t* p = picture.pixels + (size_t(s.y) * picture.width + s.x) * 4;
            CHECK(int(p[3]) == s.a);
            if (s.a == 0 && !c.check_colour_of_transparent) continue;
            CHECK(Near(p[0], s.b, c.tolerance));
            CHECK(Near(p[1], s.g, c.tolerance));
            CHECK(Near(p[2], s.r, c.tolerance));
        }
        FreePicture(&picture);
        CHECK(picture.pixels == nullptr);
    }
}

TEST_CASE("refuses damaged or foreign data and leaves the result empty") {
    // Cut each picture short, and flip a byte inside the PNG's pixel data
    // so its checksum fails.
    unsigned char corrupt_png[sizeof fixture_rgba_png];
    memcpy(corrupt_png, fixture_rgba_png, fixture_rgba_png_size);
    corrupt_png[fixture_rgba_png_size - 16] ^= 0x55;
    static const unsigned char kBitmapHeader[] = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0};

    struct Bad {
        const char* name;
        const unsigned char* data;
        size_t size;
    } const bad[] = {
        {"empty", fixture_rgba_png, 0},
        {"PNG signature only", fixture_rgba_png, 8},
        {"PNG cut in the pixel data", fixture_rgba_png, fixture_rgba_png_size - 20},
        {"PNG with a damaged chunk", corrupt_png, fixture_rgba_png_size},
        {"JPEG header only", fixture_quadrants_jpg, 20},
        {"JPEG cut in the scan", fixture_quadrants_jpg, fixture_quadrants_jpg_size - 40},
        {"progressive JPEG cut short", fixture_quadrants_progressive_jpg,
         fixture_quadrants_progressive_jpg_size / 2},
        {"a bitmap file", kBitmapHeader, sizeof kBitmapHeader},
    };
    for (const Bad& b : bad) {
        CAPTURE(b.name);
        Picture picture = {7, 7, reinterpret_cast<uint8_t*>(1), true};
        CHECK_FALSE(DecodePicture(b.data, b.size, &picture));
        CHECK(picture.pixels == nullptr);
        CHECK(picture.width == 0);
        CHECK(picture.height == 0);
    }
    Picture picture;
    CHECK_FALSE(DecodePicture(nullptr, 100, &picture));
}
