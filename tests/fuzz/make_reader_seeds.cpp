// Writes starting inputs for the reader fuzz targets into <out>/<target>:
// the repository's config.xml and variants of it, small archives, stored
// meshes, LightWave objects in both versions, short Ogg Vorbis streams, and
// the generated pool's own dolphin, title mesh and shaders.
//   make_reader_seeds <out> <config.xml> <pool>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../data/blob_bytes.h"
#include "../lwo/lwo_writer.h"
#include "vorbis_oracle.h"

namespace fs = std::filesystem;

namespace {

void save(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void copy_from_pool(const fs::path& pool, const char* name, const fs::path& dir) {
    std::string bytes = read(pool / name);
    if (bytes.empty()) std::fprintf(stderr, "make_reader_seeds: %s missing from the pool\n", name);
    else save(dir / fs::path(name).filename(), bytes);
}

void config_seeds(const fs::path& dir, const fs::path& config) {
    save(dir / "config.xml", read(config));
    save(dir / "small.xml",
         "<config><window><width>320</width><height>240</height><caption a=\"b\">x &amp; y</caption>"
         "<glext>0</glext></window><viewport><width>4</width><height>3</height></viewport>"
         "<audio><enabled>0</enabled><length>12.5</length></audio></config>\n");
    save(dir / "comments.xml",
         "<?xml version=\"1.0\"?>\n<!-- settings -->\n<config>\n <window fullscreen='1'>\n  <width>3200</width>\n"
         "  <halign>2</halign><valign>0</valign><multisample>1</multisample>\n </window>\n"
         " <debug><console>1</console><timeline>1</timeline></debug>\n</config>\n");
}

std::string stored_mesh(const std::vector<double>& positions, const std::vector<std::uint16_t>& corners) {
    std::string bytes;
    auto put = [&](std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
    };
    put(positions.size() / 3, 4);
    put(corners.size() / 3, 4);
    for (double p : positions) {
        std::uint64_t bits;
        std::memcpy(&bits, &p, 8);
        put(bits, 8);
    }
    for (std::uint16_t c : corners) put(c, 2);
    return bytes;
}

void mesh_seeds(const fs::path& dir, const fs::path& pool) {
    const std::vector<double> tetrahedron = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    save(dir / "tetrahedron.bin", stored_mesh(tetrahedron, {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3}));
    std::vector<double> cube;
    for (int i = 0; i < 8; ++i) cube.insert(cube.end(), {double(i & 1), double(i >> 1 & 1), double(i >> 2 & 1)});
    save(dir / "cube.bin", stored_mesh(cube, {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                                              2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5}));
    copy_from_pool(pool, "iso/tekst.bin", dir);
}

void blob_seeds(const fs::path& dir) {
    save(dir / "empty", fake::blob_image({}));
    save(dir / "three", fake::blob_image({"first file", "", std::string(300, 'x')}));
    save(dir / "foreign_magic", fake::blob_image({"one", "two"}, 0x12345678u));
}

void lightwave_seeds(const fs::path& dir, const fs::path& pool) {
    lwo::Ball ball = lwo::make_ball(3, 6, 1.0f);
    save(dir / "ball.lwob", lwo::form("LWOB", lwo::points(ball.points) + lwo::lwob_polygons(ball.polygons)));
    save(dir / "ball.lwo2", lwo::form("LWO2", lwo::points(ball.points) + lwo::bbox(24) + lwo::lwo2_polygons(ball.polygons)));
    copy_from_pool(pool, "dolphin.lwo", dir);
}

void vorbis_seeds(const fs::path& dir) {
    struct Kind {
        int channels;
        long rate, frames;
        float quality;
    } kinds[] = {{1, 8000, 1500, 0.0f}, {2, 22050, 3000, 0.3f}, {2, 44100, 5000, 0.8f}};
    unsigned seed = 1;
    for (const Kind& k : kinds) {
        oracle::Encoding e;
        e.channels = k.channels;
        e.rate = k.rate;
        e.frames = k.frames;
        e.quality = k.quality;
        e.seed = seed;
        std::vector<std::uint8_t> file = oracle::encode(e);
        // The leading byte: 1 makes checksums right after mutation, 0 keeps them.
        for (char fix : {'\0', '\1'})
            save(dir / ("vorbis" + std::to_string(seed) + (fix ? "_fixed" : "")),
                 std::string(1, fix) + std::string(file.begin(), file.end()));
        ++seed;
    }
}

void shader_seeds(const fs::path& dir, const fs::path& pool) {
    for (const char* name : {"shader/glow_hor.txt", "shader/hdr_hi.txt", "shader/hdr_low.txt", "shader/zbuffer.txt"})
        copy_from_pool(pool, name, dir);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_reader_seeds <out> <config.xml> <pool>\n");
        return 2;
    }
    const fs::path out = argv[1], pool = argv[3];
    for (const char* target : {"config", "blob", "mesh_file", "lightwave", "vorbis", "shader_text"})
        fs::create_directories(out / target);
    config_seeds(out / "config", argv[2]);
    blob_seeds(out / "blob");
    mesh_seeds(out / "mesh_file", pool);
    lightwave_seeds(out / "lightwave", pool);
    vorbis_seeds(out / "vorbis");
    shader_seeds(out / "shader_text", pool);
    return 0;
}
