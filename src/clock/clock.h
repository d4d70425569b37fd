// The demo clock: demo_time in seconds, from the playing soundtrack or from
// the process clock. Callers go through ClockOps and never know which.
#pragma once

#include <cstdint>

// The music's tempo: 152 beats a minute. Everything timed in the demo is
// written in beats of it.
constexpr double beats_per_second = 2.533333333333333;

extern float demo_time;
extern std::int32_t track_ended;
extern float clock_offset;

struct ClockTable {
    // Sets demo_time (and track_ended at the end) and returns demo_time.
    float (*clock_tick)();
    void (*clock_start)(float seconds);
    void (*clock_stop)();
    void (*clock_free)();
    void (*clock_seek)(float seconds);
    // The back-end's own answers to clock_length and clock_process_ms.
    float (*length)();
    long (*process_ms)();
};

extern ClockTable ClockOps;

// Installs the system-clock back-end. Its length is the configured
// demo_length, where its time stops.
void clock_install_system();

// The soundtrack's stream, driven by the stream back-end.
extern std::uint32_t stream_handle;
// Installs the stream back-end for stream_handle; its length is the
// stream's duration.
void clock_install_stream();

// Installs the frame back-end. From clock_start on, each tick shows the next
// frame, `first_seconds` + frames / `fps`, and from the music's length on
// sets track_ended with demo_time held at that length, as the stream does.
// Seeks are ignored and nothing plays. Its length is the music's.
void clock_install_frame(double first_seconds, int fps, double music_length);

// The frame grid of captures and stills, and of the paused timeline: frame n
// shows n / fps seconds.
constexpr int grid_fps = 60;
// Times typed in decimals land a hair off the grid (0.29 x 100 is
// 28.999...); this much is taken as on it.
constexpr double grid_slack = 1e-6;
// The frame shown at `seconds`: the last one that starts at or before it.
long long frame_at(double seconds, int fps);

// The length of the demo in seconds as the installed back-end knows it: what
// the timeline spans and scrubbing scales to.
float clock_length();

// Milliseconds of the process clock as the frames see it: the platform's
// process clock, or, under the frame back-end, the unclamped time of the
// frame last shown, so that anything timed by it runs at frame speed.
long clock_process_ms();
