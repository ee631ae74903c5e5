// Decoding of the JPEG and PNG pictures the installer carries, from bytes
// in memory into 32-bit top-down BGRA pixels: the layout of a top-down
// 32 bpp DIB section (negative biHeight), ready for SetDIBitsToDevice.
#pragma once
#include <stddef.h>
#include <stdint.h>

struct Picture {
    int32_t width;
    int32_t height;
    // width * height pixels, row 0 first, each B, G, R, A bytes. Alpha is
    // straight (not premultiplied); 255 for pictures without transparency.
    uint8_t* pixels;
    bool has_alpha;  // the picture carried transparency (PNG alpha or tRNS)
};

// Pictures larger than this on either side are refused.
enum : int32_t { PictureMaxSide = 16384 };

// Decodes a JPEG or PNG (told apart by their signatures). On success fills
// *out and returns true; the caller frees the pixels with FreePicture. On
// failure (unknown format, corrupt or truncated data, out of memory)
// returns false and leaves *out empty.
bool DecodePicture(const void* data, size_t size, Picture* out);

void FreePicture(Picture* picture);
