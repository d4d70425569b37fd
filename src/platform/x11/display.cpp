#include <time.h>

#include <cstdlib>

#include "platform/x11/headless.h"
#include "platform/x11/x11_state.h"

namespace {

Display* connection = nullptr;
bool tried = false;
int last_error_code = 0;
GLXContext root = nullptr;
std::string problem;

int record_error(Display*, XErrorEvent* event) {
    last_error_code = event->error_code;
    return 0;
}

platform::DisplayLost display_lost = nullptr;

// Xlib ends the process when this returns; the program's handler runs first,
// and the exit code says that the run failed.
int connection_lost(Display*) {
    if (display_lost) display_lost();
    std::_Exit(1);
}

// A busy X server can refuse a connection for a moment (its listen queue is
// full); when a display is named, a few more tries ride that out.
Display* open_display() {
    const char* name = std::getenv("DISPLAY");
    int tries = name && *name ? 10 : 1;
    for (int i = 0; i < tries; ++i) {
        if (Display* opened = XOpenDisplay(nullptr)) return opened;
        timespec pause{0, 50 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    return nullptr;
}

}  // namespace

namespace x11 {

Display* display() {
    if (headless::selected()) return nullptr;  // ES draws with no X server
    if (!tried) {
        tried = true;
        connection = open_display();
        if (connection) XSetErrorHandler(record_error);
        if (connection) XSetIOErrorHandler(connection_lost);
        const char* name = std::getenv("DISPLAY");
        if (!connection) note_problem(name && *name ? std::string("cannot open display ") + name : "no DISPLAY is set");
    }
    return connection;
}

void note_problem(const std::string& text) { problem = text; }

bool glx_ready() {
    Display* dpy = display();
    int error_base = 0, event_base = 0, major = 0, minor = 0;
    if (!dpy) return false;
    if (!glXQueryExtension(dpy, &error_base, &event_base)) {
        note_problem("the X server has no GLX");
        return false;
    }
    if (!glXQueryVersion(dpy, &major, &minor) || major < 1 || (major == 1 && minor < 3)) {
        note_problem("the X server's GLX is " + std::to_string(major) + "." + std::to_string(minor) +
                     "; 1.3 or later is needed");
        return false;
    }
    return true;
}

std::string glx_extensions() {
    Display* dpy = display();
    const char* list = dpy ? glXQueryExtensionsString(dpy, DefaultScreen(dpy)) : nullptr;
    return list ? list : "";
}

const std::vector<GLXFBConfig>& configs() {
    static std::vector<GLXFBConfig> list;
    static bool listed = false;
    if (!listed && display()) {
        listed = true;
        int count = 0;
        GLXFBConfig* all = glXGetFBConfigs(display(), DefaultScreen(display()), &count);
        if (all) list.assign(all, all + count);
        if (all) XFree(all);
    }
    return list;
}

GLXContext share_root(int format) {
    if (!root && format >= 1 && format <= static_cast<int>(configs().size()))
        root = glXCreateNewContext(display(), configs()[format - 1], GLX_RGBA_TYPE, nullptr, True);
    return root;
}

}  // namespace x11

namespace platform {

int last_error() { return last_error_code; }

std::string display_problem() { return problem; }

void on_display_lost(DisplayLost handler) { display_lost = handler; }

}  // namespace platform
