#include "clock/clock.h"
#include "config/settings.h"
#include "platform/platform.h"

namespace {

float process_seconds() { return static_cast<float>(platform::process_clock_ms()) * 0.001f; }

float system_tick(DemoClock& clock) {
    float t = process_seconds() + clock.clock_offset;
    clock.demo_time = t;
    // Time stops at the end while the process clock runs on, so seeking
    // backwards keeps working.
    if (settings.demo_length < t) clock.demo_time = settings.demo_length;
    return clock.demo_time;
}

void system_seek(DemoClock& clock, float t) {
    clock.demo_time = t;
    clock.clock_offset = t - process_seconds();
}

void system_start(DemoClock& clock, float t) { clock.ops.clock_seek(clock, t); }

void system_nothing(DemoClock&) {}

float configured_length(const DemoClock&) { return settings.demo_length; }

long platform_ms(const DemoClock&) { return platform::process_clock_ms(); }

}  // namespace

void clock_install_system(DemoClock& clock) {
    clock.ops = ClockOps{system_tick, system_start, system_nothing, system_nothing, system_seek, configured_length,
                         platform_ms};
}
