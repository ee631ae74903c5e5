#include "runtime/win32/picture.h"

#include <setjmp.h>
#include <stdio.h>  // jpeglib.h needs FILE
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>
#include <png.h>

// Both libraries report errors by longjmp. The decoding functions below
// therefore hold no objects with destructors, and every local that changes
// after setjmp and is read after the jump is volatile.

namespace {

bool SidesAcceptable(uint32_t width, uint32_t height) {
    return width > 0 && height > 0 && width <= PictureMaxSide && height <= PictureMaxSide;
}

uint8_t* AllocatePixels(uint32_t width, uint32_t height) {
    return static_cast<uint8_t*>(malloc(size_t(width) * height * 4));
}

// --- JPEG ---

struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
    longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings are counted (and make the decode fail) but never printed.
void JpegQuiet(j_common_ptr) {}

bool DecodeJpeg(const uint8_t* data, size_t size, Picture* out) {
    // jpeg_mem_src takes an unsigned long, 32 bits on Windows.
    if (size > 0xFFFFFFFFu) return false;
    jpeg_decompress_struct info;
    JpegErrors errors;
    uint8_t* volatile pixels = nullptr;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegFail;
    errors.manager.output_message = JpegQuiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        free(pixels);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // libjpeg-turbo writes 0xFF into the fourth byte.
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    if (!SidesAcceptable(info.output_width, info.output_height) || info.output_components != 4) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    pixels = AllocatePixels(info.output_width, info.output_height);
    if (!pixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const size_t stride = size_t(info.output_width) * 4;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // A truncated or damaged stream decodes with warnings (grey fill for the
    // missing part): treat it as the failure it is.
    const bool clean = errors.manager.num_warnings == 0;
    out->width = int32_t(info.output_width);
    out->height = int32_t(info.output_height);
    jpeg_destroy_decompress(&info);
    if (!clean) {
        free(pixels);
        return false;
    }
    out->pixels = pixels;
    out->has_alpha = false;
    return true;
}

// --- PNG ---

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void PngRead(png_structp png, png_bytep target, size_t count) {
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->position) png_error(png, "truncated");
    memcpy(target, source->data + source->position, count);
    source->position += count;
}

void PngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarn(png_structp, png_const_charp) {}

bool DecodePng(const uint8_t* data, size_t size, Picture* out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngWarn);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngSource source = {data, size, 0};
    uint8_t* volatile pixels = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        free(rows);
        free(pixels);
        return false;
    }
    png_set_read_fn(png, &source, PngRead);
    png_set_user_limits(png, PictureMaxSide, PictureMaxSide);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colour = png_get_color_type(png, info);
    const bool has_alpha =
        (colour & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    // Whatever the stored form, deliver 8-bit B, G, R, A.
    png_set_expand(png);  // palette and low-depth grey to 8 bits, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // adds opaque alpha where none
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (!SidesAcceptable(width, height) || png_get_rowbytes(png, info) != size_t(width) * 4) {
        png_error(png, "unusable");
    }
    pixels = AllocatePixels(width, height);
    rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * height));
    if (!pixels || !rows) png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels + size_t(width) * 4 * y;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    free(rows);

    out->width = int32_t(width);
    out->height = int32_t(height);
    out->pixels = pixels;
    out->has_alpha = has_alpha;
    return true;
}

}  // namespace

bool DecodePicture(const void* data, size_t size, Picture* out) {
    *out = Picture{0, 0, nullptr, false};
    if (!data) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    static const uint8_t kJpegSignature[3] = {0xFF, 0xD8, 0xFF};
    static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool ok = false;
    if (size >= sizeof kPngSignature && memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0) {
        ok = DecodePng(bytes, size, out);
    } else if (size >= sizeof kJpegSignature && memcmp(bytes, kJpegSignature, sizeof kJpegSignature) == 0) {
        ok = DecodeJpeg(bytes, size, out);
    }
    if (!ok) *out = Picture{0, 0, nullptr, false};
    return ok;
}

void FreePicture(Picture* picture) {
    if (!picture) return;
    free(picture->pixels);
    *picture = Picture{0, 0, nullptr, false};
}
