// heden_assetgen: writes the demo's whole data folder.
//
//   heden_assetgen <pool folder> <shader source folder>
//
// Every file is made here from code, the same bytes on every run and with any
// number of threads (HEDEN_ASSETGEN_THREADS): the soundtrack's stems are
// synthesized in parallel, then the pictures and meshes are made in parallel
// while the soundtrack is mixed and encoded.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "meshes.h"
#include "soundtrack.h"
#include "tasks.h"
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
    const int workers = worker_count();
    std::error_code error;
    std::filesystem::create_directories(pool + "/iso", error);  // before tasks write into it side by side
    // The stems first on every core, so that mixing and encoding, which run
    // on one thread, overlap with the pictures.
    Stems stems = synthesize_stems(workers);
    std::printf("assetgen: soundtrack stems %.2f s\n", seconds_since(start));
    bool music_ok = false;
    auto music = [&] { music_ok = write_soundtrack(pool + "/quorvane_28_juli.ogg", stems); };
    // One worker: everything in order on this thread.
    std::thread music_thread;
    if (workers > 1) music_thread = std::thread(music);
    bool ok = copy_shaders(argv[2], pool);
    std::vector<Task> tasks;
    add_picture_tasks(pool, tasks);
    add_mesh_tasks(pool, tasks);
    ok = run_tasks(tasks, workers) && ok;
    std::printf("assetgen: pictures and meshes done at %.2f s\n", seconds_since(start));
    if (workers > 1) music_thread.join();
    else music();
    ok = ok && music_ok;
    double seconds = seconds_since(start);
    std::printf("assetgen: %s in %.2f s on %d threads\n", ok ? "pool written" : "FAILED", seconds, workers);
    return ok ? 0 : 1;
}
