// The soundtrack: loads the music and chooses the clock back-end.
#pragma once

#include "clock/clock.h"
#include "platform/platform.h"

enum SoundtrackResult : int {
    soundtrack_ok = 0,          // the clock runs on the stream, or on the system clock as audio is off
    soundtrack_no_output = -2,  // audio output could not be set up: the system clock runs
    soundtrack_no_stream = -3,  // the music could not be made into a stream: the system clock runs
};

// Installs the system clock in `clock`, loads the music and, with the sound
// on, plays it through a stream the clock then follows.
SoundtrackResult soundtrack_init(DemoClock& clock, const char* path, platform::Handle window);

// The music's length in seconds as a capture measures it, from the bytes
// soundtrack_init loaded, with the sound on or off; 0 when they hold no
// music.
double soundtrack_length();
