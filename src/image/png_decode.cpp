#include <cstdlib>
#include <cstring>

#include "log/log.h"
#include "image/inflate.h"
#include "image/png_stages.h"

namespace {

std::uint8_t* allocate_zeroed(std::uint64_t size) {
    if (size > UINT32_MAX || size > SIZE_MAX) return nullptr;
    return static_cast<std::uint8_t*>(std::calloc(size ? static_cast<std::size_t>(size) : 1, 1));
}

// Allocates an output record's buffer, replacing (and reporting) one it
// already held.
bool png_buffer_allocate(PngBuffer* buffer, std::uint64_t size) {
    if (buffer->data) {
        log_print("real resize? \n ");
        png_buffer_free(buffer);
    }
    buffer->data = allocate_zeroed(size);
    buffer->size = buffer->data ? static_cast<std::uint32_t>(size) : 0;
    return buffer->data != nullptr;
}

// Refuses empty images and images the caller has no room for; the sizes of
// every later buffer follow from these.
bool size_acceptable(const PngInfo& info, std::uint32_t rgba_limit) {
    std::uint64_t rgba_bytes = std::uint64_t{info.width} * info.height * 4;
    return info.width > 0 && info.height > 0 && rgba_bytes <= rgba_limit;
}

// The inflate buffer: the customary width x (height x bpp + 7) / 8 + 8 x height
// bytes (the division last), or more when the image's scanlines need more.
// Zero-filled so that image data ending early reads as zeros, not as
// leftovers.
unsigned inflate_image(const std::uint8_t* data, std::uint32_t data_size, const PngInfo& info,
                       std::uint8_t** scanlines) {
    std::uint64_t w = info.width, h = info.height;
    std::uint64_t size = w * (h * info.bits_per_pixel + 7) / 8 + 8 * h;
    std::uint64_t needed = png_scanline_bytes(info);
    if (size < needed) size = needed;
    if (size > UINT32_MAX) return png_error_too_large;
    *scanlines = allocate_zeroed(size);
    if (!*scanlines) return png_error_memory;
    return zlib_decode(*scanlines, data, static_cast<std::uint32_t>(size), data_size);
}

unsigned decode_pixels(const std::uint8_t* data, std::uint32_t data_size, const PngInfo& info, PngBuffer* rgba) {
    std::uint8_t* scanlines = nullptr;
    PngBuffer raw{nullptr, 0};
    std::uint64_t pixels = std::uint64_t{info.width} * info.height;
    unsigned error = inflate_image(data, data_size, info, &scanlines);
    if (!error && !png_buffer_allocate(&raw, (pixels * info.bits_per_pixel + 7) / 8)) error = png_error_memory;
    if (!error) error = png_unfilter(scanlines, info, raw.data);
    if (!error && !png_buffer_allocate(rgba, pixels * 4)) error = png_error_memory;
    if (!error) error = png_convert(raw.data, info, rgba->data);
    std::free(scanlines);
    png_buffer_free(&raw);
    return error;
}

unsigned decode(std::uint8_t* data, std::uint32_t size, PngInfo* info, PngBuffer* rgba, std::uint32_t rgba_limit) {
    std::uint32_t data_size = 0;
    unsigned error = png_read_header(data, size, info);
    if (!error) error = png_walk_chunks(data, size, info, &data_size);
    if (!error && !size_acceptable(*info, rgba_limit)) error = png_error_too_large;
    if (!error) error = decode_pixels(data, data_size, *info, rgba);
    return error;
}

}  // namespace

void png_buffer_free(PngBuffer* buffer) {
    std::free(buffer->data);
    *buffer = PngBuffer{nullptr, 0};
}

unsigned png_decode(const std::uint8_t* bytes, std::int32_t size, PngInfo* info, PngBuffer* rgba,
                    std::uint32_t rgba_limit) {
    png_error = 0;
    std::memset(info, 0, sizeof *info);
    if (size <= 0) return png_error = png_error_empty;
    // The chunk walk gathers the image data in place, so it works on a copy.
    auto* data = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(size)));
    if (!data) return png_error = png_error_memory;
    std::memcpy(data, bytes, static_cast<std::size_t>(size));
    unsigned error = decode(data, static_cast<std::uint32_t>(size), info, rgba, rgba_limit);
    std::free(data);
    if (error) png_buffer_free(rgba);
    return png_error = error;
}
