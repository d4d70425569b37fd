// The demo's main window with its pixel format and GL context, re-created in
// the other of windowed and fullscreen mode on every F4.
#pragma once

#include <cstdint>
#include <optional>

#include "clock/clock.h"
#include "platform/platform.h"

// What the viewer works from the debug window while the demo plays: the
// clock it seeks and pauses, and the HDR level a right click asked for, until
// the next frame takes it. The application owns it and lends it to the
// windows.
struct PlayControls {
    DemoClock clock;
    std::optional<float> hdr_level_request;
};

constexpr int timeline_width = 512;
constexpr int timeline_height = 128;

// The demo's windows, one instance: the main window with its device context
// and GL context, the debug window, and where the mouse was over the
// timeline.
struct WindowState {
    platform::Handle main_window = 0;
    platform::Handle main_dc = 0;
    platform::Handle main_context = 0;
    // Vertical blanks each swap waits for, asked of the driver at every
    // window creation: 1 paces the demo to the screen; captures draw with 0.
    int swap_interval = 1;
    // A capture or still: nobody watches, the windows take no keys or mouse
    // but Escape, and F4 never switches the mode under the frames.
    bool unattended = false;
    platform::Handle debug_window = 0;
    // What the timeline works on while the demo plays, lent by the
    // application; none in a capture.
    PlayControls* play = nullptr;
    // Last horizontal mouse position over the debug window, as x / 512.
    double timeline_u = 0.5;
};
extern WindowState window_state;

constexpr const char* window_class_name = "OWATZIJNWEHEDENBLIJ";

// What window_create and window_setup return; the numbers show in the
// "window creation failed" box.
enum WindowResult : int {
    window_ok = 0,
    window_no_class = -1,           // the window class was not registered
    window_no_window = -2,          // no window; from window_setup: window_create failed
    window_no_render_targets = -4,  // window_setup: the render targets could not be made
    window_no_context = -6,         // no GL context for the window
    window_not_current = -7,        // its GL context could not be made current
};

// x (or y) of a window of `size` on a screen of `screen` for an alignment of
// 0 (left/top), 1 (centred) or 2 (right/bottom).
int window_position(int alignment, int screen, int size);

// first = 1 at start-up, 0 on F4.
WindowResult window_setup(int first);

WindowResult window_create();

// Tears down context, device context, window and class; always 0.
int window_destroy();

// From now on the scenes go straight into the window: the render targets
// are released and glext_ready cleared. For a driver that offered what the
// glow needs and then could not build it.
void render_targets_give_up();
