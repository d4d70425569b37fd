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

struct WindowRecord {
    Window xwindow = 0;
    Visual* visual = nullptr;
    int depth = 0;
    std::string class_name;
    std::string title;
    platform::WindowStyle style = platform::WindowStyle::sysmenu;
    int x = 0, y = 0, width = 0, height = 0;
    DeviceContext dc;
};

// The display, opened on first use; null when there is none.
Display* display();

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

// (Re)creates the X window of a record with the given visual, keeping its
// place, size, title and properties.
bool realize(WindowRecord* w, Visual* visual, int depth);

}  // namespace x11
