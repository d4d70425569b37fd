#include "clock/clock.h"
#include "config/settings.h"
#include "platform/platform.h"

float demo_time;
std::int32_t track_ended;
float clock_offset;
ClockTable ClockOps;

namespace {

float process_seconds() { return static_cast<float>(platform::process_clock_ms()) * 0.001f; }

float system_tick() {
    float t = process_seconds() + clock_offset;
    demo_time = t;
    // Time stops at the end while the process clock runs on, so seeking
    // backwards keeps working.
    if (settings.demo_length < t) demo_time = settings.demo_length;
    return demo_time;
}

void system_seek(float t) {
    demo_time = t;
    clock_offset = t - process_seconds();
}

void system_start(float t) { ClockOps.clock_seek(t); }

void system_nothing() {}

float configured_length() { return settings.demo_length; }

}  // namespace

void clock_install_system() {
    ClockOps = ClockTable{system_tick, system_start,      system_nothing, system_nothing,
                          system_seek, configured_length, platform::process_clock_ms};
}

float clock_length() { return ClockOps.length(); }

long clock_process_ms() { return ClockOps.process_ms(); }
