// The soundtrack: loads the music and chooses the clock back-end.
#pragma once

#include "platform/platform.h"

// 0 when the clock runs on the stream, or on the system clock because audio
// is disabled; -2 when audio output could not be set up, -3 when the music
// could not be made into a stream (system clock in both cases).
int soundtrack_init(const char* path, platform::Handle window);
