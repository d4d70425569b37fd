#include "start_up_files.h"

#include <vector>

#include "png_corpus.h"
#include "pcx_writer.h"
#include "temp_dir.h"

namespace fake {

namespace {

// A palette picture: index 1 (pure green) around, index 2 (orange) inside.
std::string icon_pcx(int size) {
    test_image::PcxHeader header;
    header.xmax = size - 1;
    header.ymax = size - 1;
    std::string file = test_image::pcx_header(header);
    for (int y = 0; y < size; ++y) {
        std::vector<std::uint8_t> line(static_cast<std::size_t>(size), 2);
        for (int x = 0; x < size; ++x)
            if (x < 2 || y < 2 || x >= size - 2 || y >= size - 2) line[static_cast<std::size_t>(x)] = 1;
        file += test_image::pcx_encode_line(line);
    }
    std::vector<std::uint8_t> palette(768, 0);
    palette[3 + 1] = 255;                                   // 1: (0, 255, 0)
    palette[6] = 255, palette[7] = 128, palette[8] = 0;     // 2: (255, 128, 0)
    return file + test_image::pcx_palette(palette);
}

std::string loading_png() {
    test_image::PngPicture picture;
    picture.width = 256;
    picture.height = 128;
    picture.colour_type = test_image::png_rgb;
    for (std::uint32_t y = 0; y < picture.height; ++y)
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            bool left = x < picture.width / 2;
            picture.rows.insert(picture.rows.end(), {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255)});
        }
    return test_image::png_encode(picture);
}

std::string tiny_png() {
    test_image::PngPicture picture;
    picture.width = 2;
    picture.height = 2;
    picture.colour_type = test_image::png_rgb;
    picture.rows = {0, 255, 0, 200, 10, 10, 20, 30, 40, 50, 60, 70};
    return test_image::png_encode(picture);
}

}  // namespace

std::vector<std::string> write_demo_files() {
    std::vector<std::string> paths;
    auto add = [&](const std::string& path, const std::string& bytes) {
        write_file(path, bytes);
        paths.push_back(path);
    };
    for (const char* name : {"glow_hor", "glow_ver", "zbuffer", "hdr_low", "hdr_hi"})
        add(std::string("pool/shader/") + name + ".txt", ".vertex\nvoid main() {}\n.fragment\nvoid main() {}\n");
    paths.push_back("pool/loading.png");  // the second loading screen
    add("pool/dolphin.lwo", std::string("FORM\0\0\0\4LWOB", 12));
    for (const char* name : {"test", "mizzle", "particle", "tarrow"}) add(std::string("pool/") + name + ".png", tiny_png());
    for (char noise : std::string("cfklmstz")) add(std::string("pool/noise_") + noise + ".png", tiny_png());
    for (char set : std::string("012"))
        for (char face : std::string("frludb")) add(std::string("pool/cubemap_") + set + face + ".png", tiny_png());
    add("pool/iso/tekst.bin", std::string(8, '\0'));
    add("pool/iso/canyon.bin", std::string(8, '\0'));
    return paths;
}

void write_start_up_files() {
    write_file("pool/icon.pcx", icon_pcx(32));
    write_file("pool/icons.pcx", icon_pcx(16));
    write_file("pool/loading.png", loading_png());
}

}  // namespace fake
