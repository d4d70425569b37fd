#include "log/log.h"
#include "audio/bass.h"
#include "clock/clock.h"
#include "platform/platform.h"

namespace {

void play_on(const DemoClock& clock) {
    if (!BASS_ChannelPlay(clock.stream_handle, 0)) log_print(" Bass_ChannellPlay() :: error \n ");
}

float stream_tick(DemoClock& clock) {
    QWORD pos = BASS_ChannelGetPosition(clock.stream_handle);
    QWORD len = BASS_ChannelGetLength(clock.stream_handle);
    if (pos >= len) clock.track_ended = 1;
    clock.demo_time = BASS_ChannelBytes2Seconds(clock.stream_handle, pos);
    return clock.demo_time;
}

void stream_seek(DemoClock& clock, float t) {
    if (clock.track_ended) {
        clock.track_ended = 0;
        play_on(clock);
    }
    clock.demo_time = t;
    BASS_ChannelSetPosition(clock.stream_handle, BASS_ChannelSeconds2Bytes(clock.stream_handle, t));
}

void stream_start(DemoClock& clock, float t) {
    play_on(clock);
    if (t != 0.0f) stream_seek(clock, t);
}

void stream_stop(DemoClock& clock) { BASS_ChannelStop(clock.stream_handle); }

void stream_free(DemoClock& clock) { BASS_StreamFree(clock.stream_handle); }

float stream_duration(const DemoClock& clock) { return clock.stream_length; }

long platform_ms(const DemoClock&) { return platform::process_clock_ms(); }

}  // namespace

void clock_install_stream(DemoClock& clock) {
    clock.ops = ClockOps{stream_tick, stream_start, stream_stop, stream_free, stream_seek, stream_duration, platform_ms};
    clock.stream_length =
        BASS_ChannelBytes2Seconds(clock.stream_handle, BASS_ChannelGetLength(clock.stream_handle));
}
