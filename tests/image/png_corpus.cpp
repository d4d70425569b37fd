#include "png_corpus.h"

#include <png.h>

#include <cstring>
#include <random>

namespace test_image {

static_assert(png_filter_all == PNG_ALL_FILTERS && png_filter_paeth == PNG_FILTER_PAETH && png_palette == PNG_COLOR_TYPE_PALETTE,
              "our names for libpng's numbers");

namespace {

png_color_16 colour_16(const PngKey& key) {
    png_color_16 c{};
    c.red = key.red, c.green = key.green, c.blue = key.blue, c.gray = key.gray;
    c.index = static_cast<png_byte>(key.gray);
    return c;
}

int channels_of(int colour_type) {
    switch (colour_type) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

// Packs `values` of `bits` each, most significant first, into `row`.
void pack(std::vector<std::uint8_t>& row, const std::vector<unsigned>& values, int bits) {
    std::fill(row.begin(), row.end(), 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (bits == 16) {
            row[2 * i] = static_cast<std::uint8_t>(values[i] >> 8);
            row[2 * i + 1] = static_cast<std::uint8_t>(values[i]);
        } else {
            std::size_t bit = i * bits;
            row[bit / 8] |= static_cast<std::uint8_t>(values[i] << (8 - bits - bit % 8));
        }
    }
}

unsigned sample_at(const PngPicture& picture, std::size_t index) {
    if (picture.bit_depth == 16) return picture.rows[2 * index] << 8 | picture.rows[2 * index + 1];
    std::size_t bit = index * picture.bit_depth;
    return picture.rows[bit / 8] >> (8 - picture.bit_depth - bit % 8) & ((1u << picture.bit_depth) - 1);
}

struct Writer {
    std::string bytes;
    static void write(png_structp png, png_bytep data, size_t length) {
        static_cast<Writer*>(png_get_io_ptr(png))->bytes.append(reinterpret_cast<const char*>(data), length);
    }
    static void flush(png_structp) {}
};

struct Reader {
    const std::string* bytes;
    std::size_t at;
    static void read(png_structp png, png_bytep data, size_t length) {
        auto* self = static_cast<Reader*>(png_get_io_ptr(png));
        if (self->at + length > self->bytes->size()) png_error(png, "read past the end");
        std::memcpy(data, self->bytes->data() + self->at, length);
        self->at += length;
    }
};

void set_chunks(png_structp png, png_infop info, const PngPicture& picture) {
    png_set_IHDR(png, info, picture.width, picture.height, picture.bit_depth, picture.colour_type,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const PngColour& c : picture.palette) palette.push_back(png_color{c.red, c.green, c.blue});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!picture.palette_alpha.empty())
        png_set_tRNS(png, info, picture.palette_alpha.data(), static_cast<int>(picture.palette_alpha.size()), nullptr);
    png_color_16 key = colour_16(picture.key), background = colour_16(picture.background);
    if (picture.keyed) png_set_tRNS(png, info, nullptr, 0, &key);
    if (picture.with_background) png_set_bKGD(png, info, &background);
    png_set_filter(png, 0, picture.filters);
    png_set_compression_level(png, picture.level);
    png_set_compression_buffer_size(png, picture.idat_size);
}

}  // namespace

std::size_t png_row_bytes(const PngPicture& picture) {
    return (std::size_t{picture.width} * channels_of(picture.colour_type) * picture.bit_depth + 7) / 8;
}

PngPicture png_random(std::uint32_t width, std::uint32_t height, int colour_type, int bit_depth, bool interlaced,
                   unsigned seed, bool few_colours, int palette_size) {
    std::mt19937 rng(seed);
    PngPicture picture;
    picture.width = width, picture.height = height, picture.colour_type = colour_type, picture.bit_depth = bit_depth;
    picture.interlaced = interlaced;
    int channels = channels_of(colour_type);
    unsigned limit = colour_type == PNG_COLOR_TYPE_PALETTE ? static_cast<unsigned>(palette_size) : 1u << bit_depth;
    for (int i = 0; i < palette_size; ++i)
        picture.palette.push_back(PngColour{static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng())});
    std::vector<unsigned> pool(4 * channels);
    for (unsigned& value : pool) value = rng() % limit;
    std::size_t row_bytes = png_row_bytes(picture);
    picture.rows.resize(row_bytes * height);
    std::vector<std::uint8_t> row(row_bytes);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::vector<unsigned> values(std::size_t{width} * channels);
        for (std::size_t x = 0; x < width; ++x) {
            unsigned pick = rng() % 4;
            for (int c = 0; c < channels; ++c) values[x * channels + c] = few_colours ? pool[pick * channels + c] : rng() % limit;
        }
        pack(row, values, bit_depth);
        std::copy(row.begin(), row.end(), picture.rows.begin() + static_cast<std::ptrdiff_t>(y * row_bytes));
    }
    return picture;
}

void png_add_transparency(PngPicture& picture, unsigned seed, std::size_t count) {
    std::mt19937 rng(seed);
    if (picture.colour_type == PNG_COLOR_TYPE_PALETTE) {
        picture.palette_alpha.resize(count);
        for (auto& alpha : picture.palette_alpha) alpha = static_cast<std::uint8_t>(rng());
        return;
    }
    picture.keyed = true;
    if (picture.colour_type == PNG_COLOR_TYPE_GRAY) {
        picture.key.gray = static_cast<std::uint16_t>(sample_at(picture, 0));
    } else {
        picture.key.red = static_cast<std::uint16_t>(sample_at(picture, 0));
        picture.key.green = static_cast<std::uint16_t>(sample_at(picture, 1));
        picture.key.blue = static_cast<std::uint16_t>(sample_at(picture, 2));
    }
}

std::string png_encode(const PngPicture& picture) {
    Writer writer;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(picture.height);
    for (std::uint32_t y = 0; y < picture.height; ++y)
        rows[y] = const_cast<png_bytep>(picture.rows.data()) + y * png_row_bytes(picture);
    static const png_byte private_chunk[] = {'h', 'e', 'D', 'n', 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &writer, Writer::write, Writer::flush);
    set_chunks(png, info, picture);
    png_write_info(png, info);
    if (picture.with_private_chunk) png_write_chunk(png, private_chunk, reinterpret_cast<png_const_bytep>("ours"), 4);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return writer.bytes;
}

bool png_reference(const std::string& file, std::vector<std::uint8_t>& rgba, std::uint32_t& width,
                   std::uint32_t& height) {
    Reader reader{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, Reader::read);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) png_error(png, "not RGBA8");
    rgba.assign(std::size_t{width} * height * 4, 0);
    rows.resize(height);
    for (std::uint32_t y = 0; y < height; ++y) rows[y] = rgba.data() + std::size_t{y} * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace test_image
