#include "file_out.h"

#include <png.h>

#include <cstdio>
#include <filesystem>

bool write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "assetgen: short write to %s\n", path.c_str());
    return ok;
}

namespace {

void append_to_vector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

bool opaque(const Pixels& pixels) {
    for (std::size_t i = 3; i < pixels.rgba.size(); i += 4)
        if (pixels.rgba[i] != 255) return false;
    return true;
}

}  // namespace

bool write_png(const std::string& path, const Pixels& pixels) {
    std::vector<std::uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fprintf(stderr, "assetgen: libpng failed on %s\n", path.c_str());
        return false;
    }
    bool rgb = opaque(pixels);
    png_set_write_fn(png, &bytes, append_to_vector, no_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 8,
                 rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    if (rgb) png_set_filler(png, 0, PNG_FILLER_AFTER);  // drops the alpha bytes on the way out
    for (int y = 0; y < pixels.height; ++y) png_write_row(png, const_cast<png_bytep>(pixels.at(0, y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return write_bytes(path, bytes);
}

namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, int value) {
    out[at] = static_cast<std::uint8_t>(value & 255);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 255);
}

}  // namespace

bool write_pcx(const std::string& path, int width, int height, const std::vector<std::uint8_t>& indices,
               const std::uint8_t (&palette)[256][3]) {
    std::vector<std::uint8_t> out(128, 0);
    out[0] = 10;  // manufacturer
    out[1] = 5;   // version 3.0 with a 256-colour palette
    out[2] = 1;   // run-length encoding
    out[3] = 8;   // bits per pixel and plane
    put16(out, 8, width - 1);
    put16(out, 10, height - 1);
    put16(out, 12, 72);
    put16(out, 14, 72);
    out[65] = 1;  // one plane
    put16(out, 66, width + (width & 1));  // bytes per line, even
    put16(out, 68, 1);                    // colour palette
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &indices[static_cast<std::size_t>(y) * width];
        int line = width + (width & 1);
        for (int x = 0; x < line;) {
            std::uint8_t value = x < width ? row[x] : 0;
            int run = 1;
            while (x + run < line && run < 63 && (x + run < width ? row[x + run] : 0) == value) ++run;
            if (run > 1 || value >= 192) out.push_back(static_cast<std::uint8_t>(192 | run));
            out.push_back(value);
            x += run;
        }
    }
    out.push_back(12);  // palette marker
    for (const auto& entry : palette) out.insert(out.end(), entry, entry + 3);
    return write_bytes(path, out);
}
