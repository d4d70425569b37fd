// State shared by the x11 backend's files: the display connection, the
// windows and drawables behind the handles, and the GLX configurations.
#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace x11 {

// What a "device context" is here: a GLX drawable with the configuration
// chosen for it. Windows own one each; pbuffers get one from the pbuffer
// DC call.
struct DeviceContext {
    GLXDrawable drawable = 0;
    int format = 0;               // 1-based index into configs(), 0 = none yet
    GLXContext context = nullptr;  // the last context created on it
    struct WindowRecord* window = nullptr;
    int width = 0, height = 0;
};

struct Icon;

struct WindowRecord {
    Window xwindow = 0;  // the window GL draws into
    // Popups only: a black window covering the monitor, with the GL window
    // centred inside it at its own size. 0 for other styles.
    Window frame = 0;
    Visual* visual = nullptr;
    int depth = 0;
    std::string class_name;
    std::string title;
    platform::WindowStyle style = platform::WindowStyle::sysmenu;
    int x = 0, y = 0, width = 0, height = 0;
    DeviceContext dc;
    // Map state of the top-level window, and the window manager's hidden
    // (minimised) state: frames are only worth drawing while mapped and
    // not hidden.
    bool mapped = false, hidden = false;
    Icon* icons[2] = {};  // small, big: kept here so a re-created window gets them back
};

// The window the window manager sees: the frame of a popup, else the window.
inline Window top_level(const WindowRecord& w) { return w.frame ? w.frame : w.xwindow; }

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The display, opened on first use; null when there is none.
Display* display();

// Whether the display's GLX can serve windows and pbuffers (1.3 or later);
// notes the problem when not.
bool glx_ready();

// Remembers why windows cannot be made, for display_problem().
void note_problem(const std::string& text);

// The GLX extensions of the display's screen ("" without a display).
std::string glx_extensions();

// Every GLX framebuffer configuration of the screen; pixel-format numbers
// are indices into this list plus one.
const std::vector<GLXFBConfig>& configs();

// The context every context shares its objects with; it lives for the whole
// process, so textures and lists survive windows and contexts coming and
// going (and the fullscreen toggle).
GLXContext share_root(int format);

WindowRecord* window_of(platform::Handle handle);
DeviceContext* dc_of(platform::Handle handle);
platform::WindowProc class_proc(const std::string& class_name);
std::vector<WindowRecord*>& windows();

// Key events still arrive for a window of ours after we destroyed it (the
// fullscreen toggle re-creates the window between a key's press and its
// release, and between one press and the next). They belong to the window
// that took its place: the oldest live window of the same class. Null for
// any other window.
WindowRecord* key_heir(Window xwindow);

// The DestroyNotify of a window we destroyed has come: nothing more will.
void departed_gone(Window xwindow);

// (Re)creates the X window of a record with the given visual, keeping its
// place, size, title and properties (icons included).
bool realize(WindowRecord* w, Visual* visual, int depth);

// Sets _NET_WM_ICON on the record's top-level window from its icons.
void icons_publish(const WindowRecord& w);

// The part of the screen a fullscreen window covers: the monitor of the
// primary output (or of the first lit one), else the whole screen.
Rect monitor_area();

// Fits every popup's frame to the monitor and centres its GL window in it.
void popups_fit_monitor();

// Puts back the display mode changed for fullscreen, if it was changed.
void display_mode_restore();

// WM_CLASS, WM_CLIENT_MACHINE and _NET_WM_PID, so that task bars and window
// rules can tell the program's windows apart.
void wm_identify(Window top);

// _MOTIF_WM_HINTS: a caption with a close box, or no decorations at all.
void wm_decorate(Window top, bool caption);

// WM_NORMAL_HINTS: the place asked for, and the size pinned when fixed_size.
// With the usual north-west gravity the place is the decorated window's;
// with StaticGravity it is the window's own, decorations around it.
void wm_place(Window top, const Rect& place, bool fixed_size, int gravity = NorthWestGravity);

}  // namespace x11
