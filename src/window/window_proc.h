// The window procedure shared by every window of the demo's class.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The timeline's pause, with the timeline on. Space holds the picture and
// the music and lets them go again; while they are held, a click or drag on
// the timeline, Left and Right (a frame), Shift+Left and Shift+Right (a
// beat) and Home (0 s) pick the frame to show on the frame grid, which the
// main loop works out as a play from 0 has it.
struct TimelinePause {
    bool paused = false;
    // The frame to show while paused.
    long long frame = 0;
    // Nothing has been picked since the pause: the picture held is the one
    // the demo was at, not a frame of the grid worked out again.
    bool live = false;
};
TimelinePause& timeline_pause();

// The frame Shift+Right (`direction` 1) or Shift+Left (-1) goes to from
// `frame`: the first frame of the next beat after it, or of the last beat
// before it (0 at the most).
long long beat_step(long long frame, int direction);

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);

// Seeks the playing demo's clock to its length x window_state.timeline_u; while the
// timeline is paused, picks the frame shown there instead.
void timeline_scrub();
