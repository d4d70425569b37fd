#include "clock/clock.h"

#include <cmath>

namespace {

// The frame clock: time is the first frame's time plus frames / rate, one
// frame per tick, whatever the wall clock does. Nothing plays.
struct FrameClock {
    double first = 0.0;   // seconds of frame 0
    int fps = 60;
    double music_length = 0.0;
    long long next = 0;   // the frame the next tick shows
    double shown = 0.0;   // seconds of the frame last shown, not clamped
};

FrameClock frames;

float frame_tick() {
    frames.shown = frames.first + static_cast<double>(frames.next) / frames.fps;
    frames.next++;
    // As with the playing stream: at the end of the music the flag goes up
    // and the reported time stays at the music's length.
    if (frames.shown >= frames.music_length) {
        track_ended = 1;
        demo_time = static_cast<float>(frames.music_length);
        return demo_time;
    }
    demo_time = static_cast<float>(frames.shown);
    return demo_time;
}

void frame_start(float t) {
    // Installing keeps the first frame's time in double precision.
    if (static_cast<float>(frames.first) != t) frames.first = t;
    frames.next = 0;
    frames.shown = t;
    demo_time = t;
}

// A capture is one fixed run of frames: seeking (the timeline window) would
// cut it, so it is ignored.
void frame_ignore(float) {}

void frame_nothing() {}

float frame_length() { return static_cast<float>(frames.music_length); }

// Whatever is timed by the process clock runs at frame speed.
long frame_ms() { return static_cast<long>(std::llround(frames.shown * 1000.0)); }

}  // namespace

long long frame_at(double seconds, int fps) {
    return static_cast<long long>(std::floor(seconds * fps + grid_slack));
}

void clock_install_frame(double first_seconds, int fps, double music_length) {
    frames = FrameClock{first_seconds, fps > 0 ? fps : 60, music_length, 0, first_seconds};
    ClockOps = ClockTable{frame_tick, frame_start, frame_nothing, frame_nothing, frame_ignore, frame_length, frame_ms};
}
