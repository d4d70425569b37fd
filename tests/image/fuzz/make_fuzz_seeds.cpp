// Writes starting inputs for the three fuzz targets into <dir>/inflate,
// <dir>/png and <dir>/pcx: small valid files of each kind.
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../pcx_writer.h"
#include "../png_corpus.h"

namespace {

void save(const std::filesystem::path& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string zlib_stream(const std::string& text, int level) {
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(text.data()),
              static_cast<uLong>(text.size()), level);
    out.resize(size);
    return out;
}

void inflate_seeds(const std::filesystem::path& dir) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "frame " + std::to_string(i * i % 17) + " of the tunnel scene\n";
    for (int level : {0, 1, 6, 9})  // two leading bytes give 4 KiB of room
        save(dir / ("level" + std::to_string(level)), std::string("\x04\x00", 2) + zlib_stream(text, level));
}

void png_seeds(const std::filesystem::path& dir) {
    struct Kind {
        int type, depth, palette;
    } kinds[] = {{0, 1, 0}, {0, 16, 0}, {2, 8, 0}, {3, 4, 16}, {3, 8, 200}, {4, 8, 0}, {6, 16, 0}};
    unsigned seed = 1;
    for (const Kind& k : kinds)
        for (bool interlaced : {false, true}) {
            test_image::PngPicture picture = test_image::png_random(9, 7, k.type, k.depth, interlaced, seed++, true, k.palette);
            if (k.type == 0 || k.type == 2 || k.type == 3) test_image::png_add_transparency(picture, seed, k.palette / 2);
            save(dir / ("png" + std::to_string(seed)), test_image::png_encode(picture));
        }
}

void pcx_seeds(const std::filesystem::path& dir) {
    std::vector<std::uint8_t> line(13);
    for (std::size_t i = 0; i < line.size(); ++i) line[i] = static_cast<std::uint8_t>(i < 6 ? 5 : 200 + i);
    std::string one = test_image::pcx_header({0, 0, 12, 3, 1, 0});
    for (int y = 0; y < 4; ++y) one += test_image::pcx_encode_line(line);
    std::vector<std::uint8_t> palette(768);
    for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<std::uint8_t>(i * 7);
    save(dir / "one_plane", one + test_image::pcx_palette(palette));
    std::string three = test_image::pcx_header({0, 0, 12, 3, 3, 14});
    line.resize(14);
    for (int y = 0; y < 12; ++y) three += test_image::pcx_encode_line(line);
    save(dir / "three_planes", three);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <dir>\n");
        return 2;
    }
    std::filesystem::path root = argv[1];
    for (const char* kind : {"inflate", "png", "pcx"}) std::filesystem::create_directories(root / kind);
    inflate_seeds(root / "inflate");
    png_seeds(root / "png");
    pcx_seeds(root / "pcx");
    return 0;
}
