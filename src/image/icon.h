// The two window-icon pictures and the bitmaps an icon is made of.
#pragma once

#include <cstdint>

#include "image/image.h"

// Each icon picture has a buffer of this many 32-bit pixels.
constexpr std::uint32_t icon_pixel_capacity = 4096;
// A 1-pixel-wide picture of 4,096 rows needs 2 mask bytes per row.
constexpr std::uint32_t icon_mask_capacity = 2 * icon_pixel_capacity;
// The colour pictures treats as see-through: pure green from a palette.
constexpr std::uint32_t icon_transparent = 0x0000FF00u;

extern Image icon_image;        // "pool/icon.pcx", the big icon
extern Image small_icon_image;  // "pool/icons.pcx", the small icon

// Allocates the two picture buffers (once) and loads both pictures.
void icon_images_load();

struct IconBits {
    std::uint32_t width, height;
    // One bit per pixel, leftmost pixel in the most significant bit, 1 where
    // the pixel is transparent; each row padded with zeros to an even number
    // of bytes.
    std::uint8_t and_mask[icon_mask_capacity];
    std::uint32_t mask_row_bytes;
    // The picture's pixels as 32-bit values, transparent ones as 0.
    std::uint32_t colour[icon_pixel_capacity];
};

// Builds the mask and colour bits of `image`. Returns 0, or -1 when the
// picture is empty, larger than an icon's storage or than its own buffer.
int icon_bits_make(const Image& image, IconBits* bits);
