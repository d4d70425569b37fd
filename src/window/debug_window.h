// The debug window: the demo's timeline as a 512 x 128 bitmap with beat
// bands, scene bars and a playhead, redrawn every frame.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "window/window.h"

constexpr int timeline_width = 512;
constexpr int timeline_height = 128;

extern platform::Handle debug_window;
// Rows bottom-up; pixels 0x00RRGGBB.
extern std::uint32_t timeline_bitmap[timeline_width * timeline_height];

// window_ok, or window_no_window (after logging "error") when the window
// cannot be created.
WindowResult debug_window_create();

// Repaints the bitmap for a demo time on a demo of `length` seconds, then
// shows it.
void timeline_draw(float time, double length);

// Copies the bitmap into the debug window, when there is one.
void timeline_show();
