#include "capture/png_write.h"

#include "capture/file_out.h"

namespace {

std::uint32_t crc_table_entry(std::uint32_t n) {
    for (int k = 0; k < 8; ++k) n = (n & 1) ? 0xedb88320u ^ (n >> 1) : n >> 1;
    return n;
}

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t i = 0; i < 256; ++i) table[i] = crc_table_entry(i);
        ready = true;
    }
    std::uint32_t c = 0xffffffffu;
    for (std::size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 255] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void put_chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks (at most 65535 bytes each) over `raw`.
std::vector<std::uint8_t> zlib_stored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> z{0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos), raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    put_u32(z, b << 16 | a);
    return z;
}

}  // namespace

std::vector<std::uint8_t> png_encode_rgb(int width, int height, const std::uint8_t* rgb, std::size_t rgb_size) {
    if (width <= 0 || height <= 0) return {};
    std::size_t row = static_cast<std::size_t>(width) * 3;
    if (rgb_size < row * static_cast<std::size_t>(height)) return {};
    std::vector<std::uint8_t> raw;
    raw.reserve((row + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        const std::uint8_t* line = rgb + row * static_cast<std::size_t>(y);
        raw.insert(raw.end(), line, line + row);
    }
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> header;
    put_u32(header, static_cast<std::uint32_t>(width));
    put_u32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter set 0, no interlace
    put_chunk(out, "IHDR", header);
    put_chunk(out, "IDAT", zlib_stored(raw));
    put_chunk(out, "IEND", {});
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
