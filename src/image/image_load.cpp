#include <cstring>

#include "data/file_table.h"
#include "image/pcx.h"
#include "image/png.h"
#include "log/log.h"

void png_load(const char* path, Image* image) {
    FileData file{};
    if (load_file(path, &file) != load_ok) return;
    PngInfo info;
    PngBuffer rgba{nullptr, 0};
    if (png_decode(file.data, file.size, &info, &rgba, image->capacity) == 0) {
        image->width = info.width;
        image->height = info.height;
        image->bits = 24;
        image->blue_first = false;
        std::size_t row_bytes = std::size_t{info.width} * 4;
        for (std::uint32_t row = 0; row < info.height; ++row)
            std::memcpy(image->pixels + row * row_bytes, rgba.data + row * row_bytes, row_bytes);
    } else {
        image->width = image->height = 0;
        error_unattended("%s is damaged: it does not decode as a PNG picture", path);
    }
    png_buffer_free(&rgba);
    release_file(path, &file);
}

void pcx_load(const char* path, Image* image) {
    FileData file{};
    if (load_file(path, &file) != load_ok) return;
    pcx_decode(file.data, image, file.size);
    release_file(path, &file);
}
