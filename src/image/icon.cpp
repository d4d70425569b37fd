#include "image/icon.h"

#include <cstdlib>
#include <cstring>

#include "image/pcx.h"

Image icon_image;
Image small_icon_image;

namespace {

constexpr std::uint32_t icon_buffer_bytes = 4 * icon_pixel_capacity;

void allocate_once(Image& image) {
    if (image.pixels) return;
    image.pixels = static_cast<std::uint8_t*>(std::calloc(icon_buffer_bytes, 1));
    image.capacity = image.pixels ? icon_buffer_bytes : 0;
}

// Pixel bytes 0..3 as one value, byte 0 lowest.
std::uint32_t pixel_value(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

}  // namespace

void icon_images_load() {
    allocate_once(icon_image);
    allocate_once(small_icon_image);
    pcx_load("pool/icon.pcx", &icon_image);
    pcx_load("pool/icons.pcx", &small_icon_image);
}

int icon_bits_make(const Image& image, IconBits* bits) {
    std::uint64_t pixels = std::uint64_t{image.width} * image.height;
    if (pixels == 0 || pixels > icon_pixel_capacity || 4 * pixels > image.capacity || !image.pixels) return -1;
    bits->width = image.width;
    bits->height = image.height;
    bits->mask_row_bytes = (image.width + 15) / 16 * 2;
    std::memset(bits->and_mask, 0, std::size_t{bits->mask_row_bytes} * image.height);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            std::uint32_t i = y * image.width + x;
            std::uint32_t value = pixel_value(image.pixels + 4 * i);
            bool transparent = value == icon_transparent;
            if (transparent) bits->and_mask[y * bits->mask_row_bytes + x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
            bits->colour[i] = transparent ? 0 : value;
        }
    }
    return 0;
}
