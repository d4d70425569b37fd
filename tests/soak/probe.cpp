// A probe preloaded into the real program (LD_PRELOAD) for the whole-demo
// runs: it wraps glXSwapBuffers, so it sees every frame the program shows.
// After each frame it logs the demo clock, the soundtrack's playing position,
// the monotonic clock and (every 100 frames) the resident size, and it seeks
// the demo through the same call the debug timeline makes (timeline_scrub),
// following a plan from HEDEN_PROBE_PLAN:
//   boundaries:T1,T2,...  seek just before and just after each time, then
//                         back across it, then play to the end
//   jitter:S              while playing, every 3 to 10 s a seek to a random
//                         time up to S seconds back or forward, so that the
//                         play still runs from start to end
// With HEDEN_PROBE_PLAYS=2 the demo is started again from 0 once the track
// has ended and the closing scene has run HEDEN_PROBE_CLOSING seconds; after
// the last play the probe writes "done" and the driver sends Escape.
// The program's own symbols are found in its symbol table, so the program is
// the unchanged build.
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "window/window.h"

namespace {

struct Program {
    WindowState* windows = nullptr;
    void (*timeline_scrub)() = nullptr;
    std::uint64_t (*get_position)(std::uint32_t) = nullptr;
    float (*bytes_to_seconds)(std::uint32_t, std::uint64_t) = nullptr;
};

std::uintptr_t program_base() {
    std::uintptr_t base = 0;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* out) {
            *static_cast<std::uintptr_t*>(out) = info->dlpi_addr;
            return 1;  // the first object is the program
        },
        &base);
    return base;
}

// Looks the names up in the executable's own .symtab.
Program find_program() {
    Program p;
    int fd = open("/proc/self/exe", O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) return p;
    auto* image = static_cast<const std::uint8_t*>(mmap(nullptr, st.st_size, PROT_READ, MAP_PRIVATE, fd, 0));
    close(fd);
    if (image == MAP_FAILED) return p;
    const auto* eh = reinterpret_cast<const Elf64_Ehdr*>(image);
    const auto* sh = reinterpret_cast<const Elf64_Shdr*>(image + eh->e_shoff);
    std::uintptr_t base = program_base();
    for (int i = 0; i < eh->e_shnum; ++i) {
        if (sh[i].sh_type != SHT_SYMTAB) continue;
        const auto* syms = reinterpret_cast<const Elf64_Sym*>(image + sh[i].sh_offset);
        const char* names = reinterpret_cast<const char*>(image + sh[sh[i].sh_link].sh_offset);
        for (std::size_t k = 0; k < sh[i].sh_size / sizeof(Elf64_Sym); ++k) {
            std::string name = names + syms[k].st_name;
            void* at = reinterpret_cast<void*>(base + syms[k].st_value);
            if (!syms[k].st_value) continue;
            if (name == "window_state") p.windows = static_cast<WindowState*>(at);
            else if (name == "_Z14timeline_scrubv") p.timeline_scrub = reinterpret_cast<void (*)()>(at);
            else if (name == "_Z23BASS_ChannelGetPositionj")
                p.get_position = reinterpret_cast<std::uint64_t (*)(std::uint32_t)>(at);
            else if (name == "_Z25BASS_ChannelBytes2Secondsjm")
                p.bytes_to_seconds = reinterpret_cast<float (*)(std::uint32_t, std::uint64_t)>(at);
        }
    }
    return p;
}

double now_s() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

long resident_kb() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What malloc has handed out and not had back: with the resident size it
// tells the program's own heap from the driver's mappings.
long heap_kb() { return static_cast<long>(mallinfo2().uordblks / 1024); }

struct Probe {
    Program program = find_program();
    std::FILE* log = std::fopen(getenv("HEDEN_PROBE_LOG") ? getenv("HEDEN_PROBE_LOG") : "probe.log", "w");
    std::vector<float> seeks;      // planned seek targets, in order
    std::vector<double> seek_gap;  // seconds of play before each
    std::size_t next_seek = 0;
    float jitter = 0;              // > 0: random seeks around the playing time
    double jitter_gap = 5.0;
    std::mt19937 random{7};
    double last_event = now_s();   // time of the last seek or of the start
    int plays = getenv("HEDEN_PROBE_PLAYS") ? std::atoi(getenv("HEDEN_PROBE_PLAYS")) : 1;
    double closing = getenv("HEDEN_PROBE_CLOSING") ? std::atof(getenv("HEDEN_PROBE_CLOSING")) : 10.0;
    int play = 1;
    double ended_at = -1;
    bool done = false;
    long frame = 0;

    Probe() {
        const char* plan = getenv("HEDEN_PROBE_PLAN");
        std::string text = plan ? plan : "";
        if (text.rfind("boundaries:", 0) == 0) {
            // Before, after, before again and after again: across each
            // boundary forwards and backwards, a second of play between.
            for (std::size_t at = 11; at < text.size();) {
                std::size_t comma = text.find(',', at);
                float t = std::strtof(text.substr(at, comma - at).c_str(), nullptr);
                for (float s : {t - 0.3f, t + 0.3f, t - 0.3f, t + 0.6f}) {
                    seeks.push_back(s);
                    seek_gap.push_back(0.5);
                }
                if (comma == std::string::npos) break;
                at = comma + 1;
            }
        } else if (text.rfind("jitter:", 0) == 0) {
            jitter = std::atof(text.c_str() + 7);
        }
        if (log && program.windows)
            std::fprintf(log, "# frame wall demo_time audio_time track_ended rss_kb heap_kb\n");
        else if (log)
            std::fprintf(log, "# probe: program symbols not found\n");
    }

    // The playing demo's clock, which the program lends its windows once
    // the loading screens are over.
    const DemoClock* clock() const {
        return program.windows && program.windows->play ? &program.windows->play->clock : nullptr;
    }

    float audio_time() const {
        std::uint32_t stream = clock()->stream_handle;
        if (!program.get_position || !stream) return -1;
        return program.bytes_to_seconds(stream, program.get_position(stream));
    }

    void seek(float t, const char* why) {
        program.windows->timeline_u = t / clock_length(*clock());
        program.timeline_scrub();
        last_event = now_s();
        std::fprintf(log, "seek %ld %.6f %.4f %s\n", frame, last_event, t, why);
    }

    void after_frame() {
        if (!log || !clock()) return;
        const DemoClock& c = *clock();
        ++frame;
        double wall = now_s();
        bool sample = frame % 100 == 1;
        std::fprintf(log, "f %ld %.6f %.6f %.6f %d %ld %ld\n", frame, wall, c.demo_time, audio_time(), c.track_ended, sample ? resident_kb() : 0L, sample ? heap_kb() : 0L);
        if (done) return;
        if (next_seek < seeks.size() && wall - last_event >= seek_gap[next_seek]) {
            seek(seeks[next_seek], "plan");
            ++next_seek;
            return;
        }
        if (jitter > 0 && !c.track_ended && wall - last_event >= jitter_gap) {
            float shift = jitter * (static_cast<float>(random() % 2001) / 1000.0f - 1.0f);
            float t = std::min(c.demo_time + shift, clock_length(c) * 0.999f);
            seek(t < 0 ? 0 : t, "jitter");
            jitter_gap = 3.0 + random() % 7000 / 1000.0;
            return;
        }
        if (c.track_ended && ended_at < 0) ended_at = wall;
        if (ended_at >= 0 && wall - ended_at >= closing) {
            if (play < plays) {
                ++play;
                ended_at = -1;
                next_seek = 0;
                seek(0, "again");
            } else {
                done = true;
                std::fprintf(log, "done %ld %.6f rss_kb %ld\n", frame, wall, resident_kb());
            }
        }
        std::fflush(log);
    }
};

Probe& probe() {
    static Probe p;
    return p;
}

}  // namespace

extern "C" void glXSwapBuffers(void* display, unsigned long drawable) {
    static auto real = reinterpret_cast<void (*)(void*, unsigned long)>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    real(display, drawable);
    probe().after_frame();
}
