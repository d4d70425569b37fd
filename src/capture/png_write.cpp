#include "capture/png_write.h"

#include <array>
#include <cstring>

#include "capture/file_out.h"

namespace {

// CRC-32 eight bytes a step (slicing by 8): table k holds the CRC of a byte
// followed by k zero bytes, so eight lookups replace eight dependent steps.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

CrcTables crc_tables_make() {
    CrcTables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t n = i;
        for (int k = 0; k < 8; ++k) n = (n & 1) ? 0xedb88320u ^ (n >> 1) : n >> 1;
        t[0][i] = n;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::size_t i = 0; i < 256; ++i) t[k][i] = t[0][t[k - 1][i] & 255] ^ (t[k - 1][i] >> 8);
    return t;
}

std::uint32_t load_le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    static const CrcTables t = crc_tables_make();
    std::uint32_t c = 0xffffffffu;
    for (; n >= 8; p += 8, n -= 8) {
        std::uint32_t lo = load_le32(p) ^ c, hi = load_le32(p + 4);
        c = t[7][lo & 255] ^ t[6][(lo >> 8) & 255] ^ t[5][(lo >> 16) & 255] ^ t[4][lo >> 24] ^ t[3][hi & 255] ^
            t[2][(hi >> 8) & 255] ^ t[1][(hi >> 16) & 255] ^ t[0][hi >> 24];
    }
    for (; n > 0; ++p, --n) c = t[0][(c ^ *p) & 255] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

// Adler-32 with the modulo taken once per 5552 bytes, the longest run whose
// sums cannot overflow 32 bits, however the bytes are split into calls.
class Adler32 {
public:
    void add(const std::uint8_t* p, std::size_t n) {
        while (n > 0) {
            std::size_t k = n < run - pending ? n : run - pending;
            n -= k;
            pending += k;
            for (; k > 0; --k) {
                a += *p++;
                b += a;
            }
            if (pending == run) reduce();
        }
    }
    std::uint32_t value() {
        reduce();
        return b << 16 | a;
    }

private:
    static constexpr std::uint32_t base = 65521;
    static constexpr std::size_t run = 5552;
    std::uint32_t a = 1, b = 0;
    std::size_t pending = 0;

    void reduce() {
        a %= base;
        b %= base;
        pending = 0;
    }
};

void put_u32(std::uint8_t* out, std::uint32_t v) {
    out[0] = static_cast<std::uint8_t>(v >> 24);
    out[1] = static_cast<std::uint8_t>(v >> 16);
    out[2] = static_cast<std::uint8_t>(v >> 8);
    out[3] = static_cast<std::uint8_t>(v);
}

// Appends a chunk of `size` bytes whose data `fill` writes in place, then
// its CRC over type and data.
template <typename Fill>
void put_chunk(std::vector<std::uint8_t>& out, const char* type, std::size_t size, Fill fill) {
    std::size_t start = out.size();
    out.resize(start + 12 + size);
    std::uint8_t* chunk = out.data() + start;
    put_u32(chunk, static_cast<std::uint32_t>(size));
    std::memcpy(chunk + 4, type, 4);
    fill(chunk + 8);
    put_u32(chunk + 8 + size, crc32(chunk + 4, size + 4));
}

// The scanlines (a filter byte 0 before each RGB row) as a zlib stream of
// stored blocks, at most 65535 bytes each, written straight into `z`, which
// has room for zlib_stored_size(raw_size) bytes.
constexpr std::size_t stored_block = 65535;

std::size_t zlib_stored_size(std::size_t raw_size) {
    std::size_t blocks = (raw_size + stored_block - 1) / stored_block;
    return 2 + 5 * blocks + raw_size + 4;
}

void zlib_stored(std::uint8_t* z, const std::uint8_t* rgb, std::size_t row, std::size_t height) {
    *z++ = 0x78;
    *z++ = 0x01;
    const std::size_t raw_size = (row + 1) * height;
    std::size_t left_in_block = 0, done = 0;
    Adler32 adler;
    // Walks the scanlines, opening a block header whenever the last one is full.
    auto put = [&](const std::uint8_t* p, std::size_t n) {
        while (n > 0) {
            if (left_in_block == 0) {
                left_in_block = raw_size - done < stored_block ? raw_size - done : stored_block;
                const std::size_t b = left_in_block;
                *z++ = done + b == raw_size ? 1 : 0;
                *z++ = static_cast<std::uint8_t>(b);
                *z++ = static_cast<std::uint8_t>(b >> 8);
                *z++ = static_cast<std::uint8_t>(~b);
                *z++ = static_cast<std::uint8_t>(~b >> 8);
            }
            std::size_t k = n < left_in_block ? n : left_in_block;
            std::memcpy(z, p, k);
            adler.add(p, k);
            z += k, p += k, n -= k, done += k, left_in_block -= k;
        }
    };
    static const std::uint8_t filter_none = 0;
    for (std::size_t y = 0; y < height; ++y) {
        put(&filter_none, 1);
        put(rgb + row * y, row);
    }
    put_u32(z, adler.value());
}

}  // namespace

std::vector<std::uint8_t> png_encode_rgb(int width, int height, const std::uint8_t* rgb, std::size_t rgb_size) {
    if (width <= 0 || height <= 0) return {};
    const std::size_t row = static_cast<std::size_t>(width) * 3, rows = static_cast<std::size_t>(height);
    if (rgb_size < row * rows) return {};
    const std::size_t idat_size = zlib_stored_size((row + 1) * rows);
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out.reserve(out.size() + 12 + 13 + 12 + idat_size + 12);
    put_chunk(out, "IHDR", 13, [&](std::uint8_t* p) {
        put_u32(p, static_cast<std::uint32_t>(width));
        put_u32(p + 4, static_cast<std::uint32_t>(height));
        const std::uint8_t rest[5] = {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, filter set 0, no interlace
        std::memcpy(p + 8, rest, 5);
    });
    put_chunk(out, "IDAT", idat_size, [&](std::uint8_t* p) { zlib_stored(p, rgb, row, rows); });
    put_chunk(out, "IEND", 0, [](std::uint8_t*) {});
    return out;
}

bool png_write_rgb(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> file = png_encode_rgb(width, height, rgb.data(), rgb.size());
    if (file.empty()) {
        capture_message("heden: no picture to write to `%s`\n", path);
        return false;
    }
    return file_write_whole(path, file.data(), file.size());
}
