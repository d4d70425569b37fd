// The demo clock: demo_time in seconds, from the playing soundtrack or from
// the process clock. Callers go through ClockOps and never know which.
#pragma once

#include <cstdint>

#include "config/settings.h"  // demo_length

extern float demo_time;
extern std::int32_t track_ended;
extern float clock_offset;

struct ClockTable {
    void (*clock_tick)();
    void (*clock_start)(float seconds);
    void (*clock_stop)();
    void (*clock_free)();
    void (*clock_seek)(float seconds);
};

extern ClockTable ClockOps;

// Writes the system-clock back-end into all five slots.
void clock_install_system();

// The soundtrack's stream, driven by the stream back-end.
extern std::uint32_t stream_handle;
// Writes the stream back-end into all five slots.
void clock_install_stream();
