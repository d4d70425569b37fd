// The demo clock: demo_time in seconds, from the playing soundtrack, from
// the process clock or from a grid of frames. The clock is a record its
// owner keeps (the application has one, a replay of frames another);
// callers go through its ClockOps and never know which back-end runs it.
#pragma once

#include <cstdint>

// The music's tempo: 152 beats a minute. Everything timed in the demo is
// written in beats of it.
constexpr double beats_per_second = 2.533333333333333;

struct DemoClock;

// A back-end's five operations, then its own answers to clock_length and
// clock_process_ms.
struct ClockOps {
    // Sets demo_time (and track_ended at the end) and returns demo_time.
    float (*clock_tick)(DemoClock&);
    void (*clock_start)(DemoClock&, float seconds);
    void (*clock_stop)(DemoClock&);
    void (*clock_free)(DemoClock&);
    void (*clock_seek)(DemoClock&, float seconds);
    float (*length)(const DemoClock&);
    long (*process_ms)(const DemoClock&);
};

// The frame back-end's grid: frame n shows first + n / fps seconds.
struct FrameGrid {
    double first = 0.0;   // seconds of frame 0
    int fps = 60;
    double music_length = 0.0;
    long long next = 0;   // the frame the next tick shows
    double shown = 0.0;   // seconds of the frame last shown, not clamped
};

struct DemoClock {
    float demo_time = 0.0f;
    std::int32_t track_ended = 0;
    // The system back-end's: seconds added to the process clock.
    float clock_offset = 0.0f;
    // The stream back-end's: the soundtrack's stream and its length in
    // seconds, measured when the back-end is installed.
    std::uint32_t stream_handle = 0;
    float stream_length = 0.0f;
    FrameGrid frames;
    ClockOps ops{};
};

inline float clock_tick(DemoClock& clock) { return clock.ops.clock_tick(clock); }
inline void clock_start(DemoClock& clock, float seconds) { clock.ops.clock_start(clock, seconds); }
inline void clock_stop(DemoClock& clock) { clock.ops.clock_stop(clock); }
inline void clock_free(DemoClock& clock) { clock.ops.clock_free(clock); }
inline void clock_seek(DemoClock& clock, float seconds) { clock.ops.clock_seek(clock, seconds); }

// Installs the system-clock back-end. Its length is the configured
// demo_length, where its time stops.
void clock_install_system(DemoClock& clock);

// Installs the stream back-end for clock.stream_handle; its length is the
// stream's duration.
void clock_install_stream(DemoClock& clock);

// Installs the frame back-end. From clock_start on, each tick shows the next
// frame, `first_seconds` + frames / `fps`, and from the music's length on
// sets track_ended with demo_time held at that length, as the stream does.
// Seeks are ignored and nothing plays. Its length is the music's.
void clock_install_frame(DemoClock& clock, double first_seconds, int fps, double music_length);

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
inline float clock_length(const DemoClock& clock) { return clock.ops.length(clock); }

// Milliseconds of the process clock as the frames see it: the platform's
// process clock, or, under the frame back-end, the unclamped time of the
// frame last shown, so that anything timed by it runs at frame speed.
inline long clock_process_ms(const DemoClock& clock) { return clock.ops.process_ms(clock); }
