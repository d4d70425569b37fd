// heden_assetgen: writes the demo's whole data folder.
//
//   heden_assetgen <pool folder> <shader source folder>
//
// Every file is made here from code, the same bytes on every run; the
// soundtrack is synthesized and encoded on a second thread while the
// pictures and meshes are made.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "meshes.h"
#include "soundtrack.h"
#include "textures.h"

namespace {

bool copy_shaders(const std::string& from, const std::string& pool) {
    const char* names[] = {"glow_hor.txt", "glow_ver.txt", "zbuffer.txt", "hdr_low.txt", "hdr_hi.txt"};
    std::error_code error;
    std::filesystem::create_directories(pool + "/shader", error);
    for (const char* name : names) {
        std::filesystem::copy_file(from + "/" + name, pool + "/shader/" + name,
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            std::fprintf(stderr, "assetgen: cannot copy shader %s: %s\n", name, error.message().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: heden_assetgen <pool folder> <shader source folder>\n");
        return 2;
    }
    const std::string pool = argv[1];
    auto start = std::chrono::steady_clock::now();
    bool music_ok = false;
    std::thread music([&] { music_ok = write_soundtrack(pool + "/quorvane_28_juli.ogg"); });
    bool ok = copy_shaders(argv[2], pool);
    ok = write_pictures(pool) && ok;
    ok = write_meshes(pool) && ok;
    music.join();
    ok = ok && music_ok;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %s in %.2f s\n", ok ? "pool written" : "FAILED", seconds);
    return ok ? 0 : 1;
}
