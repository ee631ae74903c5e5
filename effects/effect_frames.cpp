// effect-frames: a designer's preview of the window shape effects. Runs the
// product's effect code against the host region model and prints every
// frame shown, optionally also as one contact-sheet picture.
#include <math.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "effects/effects.h"
#include "effects/region_model.h"
#include "screens/catalogue.h"
#include "tests/host/runtime_double.h"

namespace {

const char Usage[] = "usage: effect-frames open|close KIND STEPS WIDTH HEIGHT [--png FILE]\n";

bool ParseInt(const char* text, int32_t* value) {
    char* end;
    long long parsed = strtoll(text, &end, 10);
    if (*text == '\0' || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    *value = (int32_t)parsed;
    return true;
}

bool WritePng(const char* path, const std::vector<uint8_t>& rgb, uint32_t width, uint32_t height) {
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool written = false;  // read after libpng's longjmp on error
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (uint32_t y = 0; y < height; y++) png_write_row(png, &rgb[(size_t)y * width * 3]);
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0 && written;
}

// Frames in reading order on a near-square grid: shown pixels light, hidden
// pixels grey, a dark gap between frames.
bool WriteContactSheet(const char* path, const std::vector<RegionModel::Rects>& frames, int32_t W, int32_t H) {
    const uint32_t gap = 4, count = (uint32_t)frames.size();
    const uint32_t columns = (uint32_t)ceil(sqrt((double)count)), rows = (count + columns - 1) / columns;
    const uint64_t width = gap + (uint64_t)columns * (W + gap), height = gap + (uint64_t)rows * (H + gap);
    if (width > 16384 || height > 16384) {
        fprintf(stderr, "effect-frames: a %llux%llu picture is too large\n", (unsigned long long)width,
                (unsigned long long)height);
        return false;
    }
    std::vector<uint8_t> rgb(width * height * 3, 0x20);
    auto fill = [&](uint64_t left, uint64_t top, uint64_t right, uint64_t bottom, uint8_t r, uint8_t g, uint8_t b) {
        for (uint64_t y = top; y < bottom; y++)
            for (uint64_t x = left; x < right; x++) {
                uint8_t* pixel = &rgb[(y * width + x) * 3];
                pixel[0] = r, pixel[1] = g, pixel[2] = b;
            }
    };
    for (uint32_t f = 0; f < count; f++) {
        const uint64_t left = gap + (f % columns) * (uint64_t)(W + gap), top = gap + (f / columns) * (uint64_t)(H + gap);
        fill(left, top, left + W, top + H, 0x60, 0x60, 0x60);
        for (const RegionRect& r : frames[f])
            fill(left + r.left, top + r.top, left + r.right, top + r.bottom, 0xF0, 0xC8, 0x50);
    }
    if (!WritePng(path, rgb, (uint32_t)width, (uint32_t)height)) {
        fprintf(stderr, "effect-frames: cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<const char*> args;
    const char* pngPath = nullptr;
    for (int a = 1; a < argc; a++) {
        if (strcmp(argv[a], "--png") == 0 && a + 1 < argc) pngPath = argv[++a];
        else args.push_back(argv[a]);
    }
    int32_t kind, steps, width, height;
    const bool opening = args.size() == 5 && strcmp(args[0], "open") == 0;
    if (args.size() != 5 || (!opening && strcmp(args[0], "close") != 0) || !ParseInt(args[1], &kind) ||
        !ParseInt(args[2], &steps) || !ParseInt(args[3], &width) || !ParseInt(args[4], &height) || width < 0 ||
        height < 0) {
        fputs(Usage, stderr);
        return 2;
    }

    Double::Reset();
    RegionModel::Reset();
    Double::LoadQuietly(WelcomeWindow::Self);
    Double::SetSize(WelcomeWindow::Self, width, height);
    if (opening) OpenEffect(WelcomeWindow::Self, kind, 0, steps);
    else CloseEffect(WelcomeWindow::Self, kind, 0, steps);

    // Frames of kinds 0 to 11 count from 1, the blinds' from 0.
    const int32_t first = kind >= 0 && kind <= 11 ? 1 : 0;
    std::vector<RegionModel::Rects> shown;
    for (const RegionModel::Frame& frame : RegionModel::Frames()) {
        shown.push_back(RegionModel::Intersect(frame.region, {0, 0, width, height}));
        printf("%d %s\n", first + (int32_t)shown.size() - 1, RegionModel::Format(shown.back()).c_str());
    }
    if (!pngPath) return 0;
    if (shown.empty()) {
        fprintf(stderr, "effect-frames: no frame shown, no picture written\n");
        return 0;
    }
    return WriteContactSheet(pngPath, shown, width, height) ? 0 : 1;
}
