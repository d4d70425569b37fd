// The debug window: the demo's timeline as a 512 x 128 bitmap with beat
// bands, scene bars and a playhead, redrawn every frame. Its handle is a
// field of window_state; the bitmap is its drawer's.
#pragma once

#include <cstdint>

#include "window/window.h"

// window_ok, or window_no_window (after logging "error") when the window
// cannot be created.
WindowResult debug_window_create();

// The timeline's picture: rows bottom-up, pixels 0x00RRGGBB.
struct TimelinePicture {
    std::uint32_t bitmap[timeline_width * timeline_height] = {};
};

// Repaints the picture for a demo time on a demo of `length` seconds, then
// shows it.
void timeline_draw(TimelinePicture& picture, float time, double length);

// The column the playhead shows for a demo time: past the end it comes round
// from the left again. -1 when there is none (a length of 0).
int timeline_column(float time, double length);

// Sets the debug window's title (nullptr: its own), when there is a window.
void debug_window_title(const char* text);

// Copies the picture into the debug window, when there is one.
void timeline_show(const TimelinePicture& picture);
