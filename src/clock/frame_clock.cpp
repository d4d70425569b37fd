#include "clock/clock.h"

#include <cmath>

// The frame clock: time is the first frame's time plus frames / rate, one
// frame per tick, whatever the wall clock does. Nothing plays.
namespace {

float frame_tick(DemoClock& clock) {
    FrameGrid& frames = clock.frames;
    frames.shown = frames.first + static_cast<double>(frames.next) / frames.fps;
    frames.next++;
    // As with the playing stream: at the end of the music the flag goes up
    // and the reported time stays at the music's length.
    if (frames.shown >= frames.music_length) {
        clock.track_ended = 1;
        clock.demo_time = static_cast<float>(frames.music_length);
        return clock.demo_time;
    }
    clock.demo_time = static_cast<float>(frames.shown);
    return clock.demo_time;
}

void frame_start(DemoClock& clock, float t) {
    FrameGrid& frames = clock.frames;
    // Installing keeps the first frame's time in double precision.
    if (static_cast<float>(frames.first) != t) frames.first = t;
    frames.next = 0;
    frames.shown = t;
    clock.demo_time = t;
}

// A capture is one fixed run of frames: seeking (the timeline window) would
// cut it, so it is ignored.
void frame_ignore(DemoClock&, float) {}

void frame_nothing(DemoClock&) {}

float frame_length(const DemoClock& clock) { return static_cast<float>(clock.frames.music_length); }

// Whatever is timed by the process clock runs at frame speed.
long frame_ms(const DemoClock& clock) { return static_cast<long>(std::llround(clock.frames.shown * 1000.0)); }

}  // namespace

long long frame_at(double seconds, int fps) {
    return static_cast<long long>(std::floor(seconds * fps + grid_slack));
}

void clock_install_frame(DemoClock& clock, double first_seconds, int fps, double music_length) {
    clock.frames = FrameGrid{first_seconds, fps > 0 ? fps : 60, music_length, 0, first_seconds};
    clock.ops = ClockOps{frame_tick, frame_start, frame_nothing, frame_nothing, frame_ignore, frame_length, frame_ms};
}
