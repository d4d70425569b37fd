// Hand-run timing of the demo's start-up stages and of its geometry alone,
// of the per-frame shadow volume builds and of frames in every scene, on the
// X display in DISPLAY, run from a folder with pool/ (it records blob.dat
// there, as the archive maker does: not the run folder of a build). Not a
// test: prints milliseconds, after the build it ran in. With --serve it
// draws frames on request instead, for interleave.py.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "config/settings.h"
#include "data/file_table.h"
#include "clock/clock.h"
#include "demo/frame_replay.h"
#include "demo/frame_schedule.h"
#include "demo/loading_screen.h"
#include "demo/overlays.h"
#include "demo/precalc.h"
#include "demo/scene_geometry.h"
#include "demo/scene_scripts.h"
#include "demo/frame_state.h"
#include "demo/scene_state.h"
#include "demo/shadow_volume.h"
#include "gl/glext.h"
#include "image/image.h"
#include "image/png.h"
#include "mesh/global_meshes.h"
#include "window/window.h"

namespace {

// The frames' state, clock and what their draws write besides the GPU, as
// the program's main loop keeps them.
FrameState run_state;
DemoClock run_clock;
DrawScratch scratch;

FrameView render_at(float time) { return frame_render(run_state, frame_input_now(run_clock, time), scratch); }

using Clock = std::chrono::steady_clock;

// What the start-up geometry may take in the shipped (optimized) program.
constexpr double geometry_budget_ms = 150;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's CPU time, the renderer's threads included: on a shared
// machine it moves less with the load than the time on the clock.
double cpu_ms_since(std::clock_t start) { return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

void say_build() {
#ifdef __OPTIMIZE__
    const char* optimized = "optimized";
#else
    const char* optimized = "not optimized: its figures are not the shipped program's";
#endif
    std::printf("demo_benchmark: %s build (%s)\n", HEDEN_BUILD_TYPE, optimized);
}

template <typename Stage>
double timed(const char* name, Stage stage) {
    auto start = Clock::now();
    stage();
    glFinish();
    double ms = ms_since(start);
    std::printf("%-44s %8.1f ms\n", name, ms);
    return ms;
}

// Decoding alone, for the share of the texture stage that is PNG work.
void decode_all_pictures() {
    std::vector<std::uint8_t> pixels(scratch_pixels_bytes);
    const char* names[] = {"test", "mizzle", "particle", "tarrow", "noise_c", "noise_f", "noise_k", "noise_l",
                           "noise_m", "noise_s", "noise_t", "noise_z"};
    std::vector<std::string> paths;
    for (const char* name : names) paths.push_back(std::string("pool/") + name + ".png");
    for (int set = 0; set < 3; ++set)
        for (char face : std::string("frludb")) paths.push_back("pool/cubemap_" + std::to_string(set) + face + ".png");
    for (const std::string& path : paths) {
        Image image{0, 0, 0, pixels.data(), scratch_pixels_bytes};
        png_load(path.c_str(), &image);
    }
}

void shadow_builds_of_the_tunnel() {
    std::vector<SceneObject*> casters;
    for (SceneObject& ring : tunnelInnerObjects) casters.push_back(&ring);
    for (SceneObject& ring : tunnelOuterObjects) casters.push_back(&ring);
    for (int k = 0; k < 16; ++k) casters.push_back(&airshipObjects[k]);
    constexpr int frames = 2000;
    auto start = Clock::now();
    for (int f = 0; f < frames; ++f) {
        Vector3 light = {30 * std::sin(f / 11.0), -20, 30 * std::cos(f / 13.0)};
        for (SceneObject* object : casters)
            shadow_volume_build(*object, rest_pose(*object), light, scratch.shadow_of(*object), scratch.lit);
    }
    std::printf("%-44s %8.4f ms\n", "shadow volumes, tunnel scene (32 casters), per frame", ms_since(start) / frames);
}

struct FrameCost {
    double wall_ms;
    double cpu_ms;
};

// `frames` whole frames at `time` after one more that settles them, per
// frame.
FrameCost frames_at(float time, int frames) {
    render_at(time);
    platform::swap_buffers(window_state.main_dc);
    glFinish();
    auto start = Clock::now();
    std::clock_t cpu_start = std::clock();
    for (int f = 0; f < frames; ++f) {
        render_at(time);
        platform::swap_buffers(window_state.main_dc);
    }
    glFinish();
    return {ms_since(start) / frames, cpu_ms_since(cpu_start) / frames};
}

// Whole frames at a beat inside every scene, and the part of them that is
// our own CPU work: the script, the shadow volume builds, and setting up
// and issuing the particles (the renderer draws them on its own threads).
void frames_in_every_scene() {
    const double beats[] = {20, 50, 52, 90.5, 122.5, 190, 240, 290, 328, 345};
    constexpr int frames = 30;
    std::printf("%-8s %12s %12s %12s %12s %8s\n", "beat", "frame ms", "frame CPU ms", "script+shadow", "particles",
                "own %");
    for (double beat : beats) {
        const float time = static_cast<float>(beat / beats_per_second);
        FrameCost cost = frames_at(time, frames);
        double frame = cost.wall_ms;
        double frame_cpu = cost.cpu_ms;
        auto start = Clock::now();
        for (int f = 0; f < frames; ++f) {
            scene_dispatch(run_state, beat);
            const SceneState& scene = run_state.scene;
            for (int i = 0; i < scene.object_count; ++i)
                if (scene.object_list[i]->castsShadow)
                    shadow_volume_build(*scene.object_list[i], object_pose(scene, *scene.object_list[i]),
                                        scene.light_position[0], scratch.shadow_of(*scene.object_list[i]), scratch.lit);
        }
        double own = ms_since(start) / frames;
        // Issuing the particles, without waiting for their pixels.
        glFinish();
        start = Clock::now();
        for (int f = 0; f < frames; ++f) particles_draw(run_state.scene, beat);
        double particles = ms_since(start) / frames;
        glFinish();
        std::printf("%-8.1f %12.2f %12.2f %12.3f %12.3f %8.2f\n", beat, frame, frame_cpu, own, particles,
                    100 * (own + particles) / frame);
    }
}

// The paused timeline works out the frame it shows without drawing: a step
// on is one update, a step back or a seek to the end of the track every
// frame from 0 there. Each must take less than a frame at 60 a second.
void paused_seeks() {
    const double length = settings.demo_length;
    const long long end = frame_at(length, grid_fps);
    FrameState state;
    FrameReplay replay(grid_fps, length);
    constexpr int rounds = 10;
    double seek_end = 1e9, step_on = 1e9, step_back = 1e9;
    for (int r = 0; r < rounds; ++r) {
        replay.forget();
        auto start = Clock::now();
        replay.seek(state, end);
        seek_end = std::fmin(seek_end, ms_since(start));
        start = Clock::now();
        replay.seek(state, end + 1);
        step_on = std::fmin(step_on, ms_since(start));
        start = Clock::now();
        replay.seek(state, end);
        step_back = std::fmin(step_back, ms_since(start));
    }
    std::printf("%-44s %8.3f ms (%lld frames)\n", "paused: seek from 0 to the end of the track", seek_end, end + 1);
    std::printf("%-44s %8.4f ms\n", "paused: a step on", step_on);
    std::printf("%-44s %8.3f ms\n", "paused: a step back at the end", step_back);
    std::printf("%-44s %8.3f ms\n", "  the budget, one frame at 60 a second", 1000.0 / grid_fps);
}

// For a comparison of two builds run side by side (interleave.py): after
// start-up, reads "beat frames" lines and answers each with a frame's CPU
// and wall milliseconds, until its input ends.
void serve_frames() {
    std::printf("ready\n");
    std::fflush(stdout);
    double beat = 0;
    int frames = 0;
    while (std::scanf("%lf %d", &beat, &frames) == 2 && frames > 0) {
        FrameCost cost = frames_at(static_cast<float>(beat / beats_per_second), frames);
        std::printf("%.3f %.3f\n", cost.cpu_ms, cost.wall_ms);
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool serve = argc > 1 && std::string(argv[1]) == "--serve";
    say_build();
    auto start = Clock::now();
    settings_defaults();
    clock_install_system(run_clock);  // the frames ask it for the process clock
    blob_open();
    double total = 0;
    total += timed("probe, icons, window, render targets", [] { window_setup(1); });
    if (!window_state.main_context) {
        std::printf("demo_benchmark: no window to draw in\n");
        return 1;
    }
    total += timed("loading screen at 0", [] { loading_screen(0.0); });
    total += timed("shader programs (four built)", precalc_programs);
    total += timed("generated volumes (sphere, basket, pole) + lists", precalc_volumes);
    total += timed("loading screen at 0.5", [] { loading_screen(0.5); });
    total += timed("dolphin, frames, tunnel, airships, columns", precalc_built_meshes);
    total += timed("textures: decode, treat, upload (31 pictures)", precalc_textures);
    total += timed("text and canyon from files + lists", precalc_stored_meshes);
    frame_state_reset(run_state);
    std::printf("%-44s %8.1f ms (sum %.1f)\n", "start to the end of precalc", ms_since(start), total);
    total += timed("the first frame (the renderer compiles)", [] {
        render_at(0.0f);
        platform::swap_buffers(window_state.main_dc);
    });
    std::printf("%-44s %8.1f ms\n", "start to the first frame on screen", ms_since(start));
    if (serve) {
        serve_frames();
        window_destroy();
        blob_close();
        return 0;
    }
    blob_close();  // a fresh file table for the second reading
    blob_open();
    timed("  of which PNG decoding alone (again)", decode_all_pictures);
    shadow_builds_of_the_tunnel();
    frames_in_every_scene();
    paused_seeks();
    // Last, as the meshes built again draw without their display lists.
    double geometry = timed("the geometry of start-up again, without GL", build_scene_geometry);
    std::printf("%-44s %8.1f ms: %s\n", "  its budget in an optimized build", geometry_budget_ms,
                geometry <= geometry_budget_ms ? "kept" : "over");
    window_destroy();
    blob_close();
    return 0;
}
