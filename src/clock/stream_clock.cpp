#include "log/log.h"
#include "audio/bass.h"
#include "clock/clock.h"
#include "platform/platform.h"

std::uint32_t stream_handle;

namespace {

float stream_length;  // seconds, measured when the back-end is installed

void play_on() {
    if (!BASS_ChannelPlay(stream_handle, 0)) log_print(" Bass_ChannellPlay() :: error \n ");
}

float stream_tick() {
    QWORD pos = BASS_ChannelGetPosition(stream_handle);
    QWORD len = BASS_ChannelGetLength(stream_handle);
    if (pos >= len) track_ended = 1;
    demo_time = BASS_ChannelBytes2Seconds(stream_handle, pos);
    return demo_time;
}

void stream_seek(float t) {
    if (track_ended) {
        track_ended = 0;
        play_on();
    }
    demo_time = t;
    BASS_ChannelSetPosition(stream_handle, BASS_ChannelSeconds2Bytes(stream_handle, t));
}

void stream_start(float t) {
    play_on();
    if (t != 0.0f) stream_seek(t);
}

void stream_stop() { BASS_ChannelStop(stream_handle); }

void stream_free() { BASS_StreamFree(stream_handle); }

float stream_duration() { return stream_length; }

}  // namespace

void clock_install_stream() {
    ClockOps = ClockTable{stream_tick, stream_start,    stream_stop, stream_free,
                          stream_seek, stream_duration, platform::process_clock_ms};
    stream_length = BASS_ChannelBytes2Seconds(stream_handle, BASS_ChannelGetLength(stream_handle));
}
