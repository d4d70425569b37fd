// Windows: one Xlib window per create. The system-menu style is a normal
// decorated window that cannot be resized. The popup style is fullscreen: a
// black frame covering the monitor (_NET_WM_STATE_FULLSCREEN) with the GL
// window at its requested size centred inside, so that the drawing area the
// portable code computes for that size stays right whether or not the
// display mode could be switched to it.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/x11/headless.h"
#include "platform/x11/x11_state.h"

namespace {

std::map<std::string, platform::WindowProc> classes;
std::vector<x11::WindowRecord*> records;
bool cursor_visible = true;

// Windows we destroyed whose DestroyNotify has not come back yet: events
// the server sent before it destroyed them are still on their way to us.
// One that had the keyboard focus lingers on the screen until another of
// ours takes the focus: destroyed at once, the focus would go to some other
// client in between, and keys typed meanwhile would be lost to us.
struct Departed {
    Window top = 0, gl = 0;
    std::string class_name;
    bool lingering = false;
};
std::vector<Departed> departed;

bool has_focus(const x11::WindowRecord& w) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x11::display(), &focus, &revert);
    return focus == x11::top_level(w) || focus == w.xwindow;
}

void destroy_lingering() {
    for (Departed& d : departed) {
        if (d.lingering) XDestroyWindow(x11::display(), d.top);
        d.lingering = false;
    }
}

Atom atom(const char* name) { return XInternAtom(x11::display(), name, False); }

// The visual of the plain double-buffered RGBA configuration, so that the
// usual pixel format needs no second window.
XVisualInfo* default_visual() {
    static const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                                     GLX_DOUBLEBUFFER,  True,           GLX_RED_SIZE,    8,
                                     GLX_GREEN_SIZE,    8,              GLX_BLUE_SIZE,   8,
                                     GLX_DEPTH_SIZE,    16,             GLX_STENCIL_SIZE, 8,
                                     None};
    int count = 0;
    GLXFBConfig* found = glXChooseFBConfig(x11::display(), DefaultScreen(x11::display()), attributes, &count);
    if (!found || count == 0) return nullptr;
    XVisualInfo* info = glXGetVisualFromFBConfig(x11::display(), found[0]);
    XFree(found);
    return info;
}

void apply_cursor(Window window) {
    Display* dpy = x11::display();
    if (cursor_visible) {
        XUndefineCursor(dpy, window);
        return;
    }
    static Cursor blank = 0;
    if (!blank) {
        char nothing[1] = {0};
        Pixmap empty = XCreateBitmapFromData(dpy, window, nothing, 1, 1);
        XColor black{};
        blank = XCreatePixmapCursor(dpy, empty, empty, &black, &black, 0, 0);
        XFreePixmap(dpy, empty);
    }
    XDefineCursor(dpy, window, blank);
}

constexpr long input_events = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | FocusChangeMask;
// What a top-level window hears of itself: mapping, and the window
// manager's state property (minimised windows may stay mapped).
constexpr long top_level_events = StructureNotifyMask | PropertyChangeMask;

// Size hints, close protocol and fullscreen state of the top-level window.
// Only the system-menu and overlapped windows have their size pinned; a
// popup's frame takes whatever size the monitor has.
void set_style_hints(const x11::WindowRecord& w) {
    Display* dpy = x11::display();
    Window top = x11::top_level(w);
    if (w.frame)
        x11::wm_place(top, x11::monitor_area(), false);
    else
        x11::wm_place(top, x11::Rect{w.x, w.y, w.width, w.height}, true);
    Atom close = atom("WM_DELETE_WINDOW");
    XSetWMProtocols(dpy, top, &close, 1);
    if (w.frame) {
        Atom fullscreen = atom("_NET_WM_STATE_FULLSCREEN");
        XChangeProperty(dpy, top, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&fullscreen), 1);
    }
}

// What the window manager sees of a record: title, whose it is, hints,
// icons. The system-menu style is a caption with a close box; a popup has
// no decorations.
void set_top_level_properties(const x11::WindowRecord& w) {
    Window top = x11::top_level(w);
    XStoreName(x11::display(), top, w.title.c_str());
    x11::wm_identify(top);
    if (w.style != platform::WindowStyle::overlapped) x11::wm_decorate(top, w.style == platform::WindowStyle::sysmenu);
    set_style_hints(w);
    x11::icons_publish(w);
}

// The black frame of a popup, covering the monitor.
Window create_frame() {
    Display* dpy = x11::display();
    int screen = DefaultScreen(dpy);
    x11::Rect monitor = x11::monitor_area();
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(dpy, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = input_events | top_level_events;
    return XCreateWindow(dpy, RootWindow(dpy, screen), monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                         static_cast<unsigned>(monitor.height), 0, CopyFromParent, InputOutput, CopyFromParent,
                         CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
}

// The GL window's place: its own for top-level windows, centred in the
// frame for popups.
void gl_window_origin(const x11::WindowRecord& w, int* x, int* y) {
    if (!w.frame) {
        *x = w.x;
        *y = w.y;
        return;
    }
    x11::Rect monitor = x11::monitor_area();
    *x = (monitor.width - w.width) / 2;
    *y = (monitor.height - w.height) / 2;
}

void fit_popup(const x11::WindowRecord& w) {
    Display* dpy = x11::display();
    x11::Rect monitor = x11::monitor_area();
    XMoveResizeWindow(dpy, w.frame, monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                      static_cast<unsigned>(monitor.height));
    int x = 0, y = 0;
    gl_window_origin(w, &x, &y);
    XMoveResizeWindow(dpy, w.xwindow, x, y, static_cast<unsigned>(w.width), static_cast<unsigned>(w.height));
    set_style_hints(w);
}

}  // namespace

namespace x11 {

bool realize(WindowRecord* w, Visual* visual, int depth) {
    Display* dpy = display();
    Window parent = w->frame ? w->frame : DefaultRootWindow(dpy);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(dpy, parent, visual, AllocNone);
    attributes.event_mask = input_events | ExposureMask | (w->frame ? 0 : top_level_events);
    attributes.border_pixel = 0;
    int x = 0, y = 0;
    gl_window_origin(*w, &x, &y);
    Window created = XCreateWindow(dpy, parent, x, y, static_cast<unsigned>(w->width),
                                   static_cast<unsigned>(w->height), 0, depth, InputOutput, visual,
                                   CWColormap | CWEventMask | CWBorderPixel, &attributes);
    if (!created) return false;
    if (w->xwindow) XDestroyWindow(dpy, w->xwindow);
    w->xwindow = created;
    w->visual = visual;
    w->depth = depth;
    if (!w->frame) set_top_level_properties(*w);
    apply_cursor(created);
    return true;
}

void popups_fit_monitor() {
    for (WindowRecord* w : records)
        if (w->frame) fit_popup(*w);
    XFlush(display());
}

WindowRecord* window_of(platform::Handle handle) {
    auto* w = reinterpret_cast<WindowRecord*>(handle);
    return std::find(records.begin(), records.end(), w) != records.end() ? w : nullptr;
}

platform::WindowProc class_proc(const std::string& class_name) {
    auto found = classes.find(class_name);
    return found == classes.end() ? nullptr : found->second;
}

std::vector<WindowRecord*>& windows() { return records; }

WindowRecord* key_heir(Window xwindow) {
    auto gone = std::find_if(departed.begin(), departed.end(),
                             [xwindow](const Departed& d) { return d.top == xwindow || d.gl == xwindow; });
    if (gone == departed.end()) return nullptr;
    for (WindowRecord* w : records)
        if (w->class_name == gone->class_name) return w;
    return nullptr;
}

void departed_gone(Window xwindow) {
    auto gone = [xwindow](const Departed& d) { return d.top == xwindow; };
    departed.erase(std::remove_if(departed.begin(), departed.end(), gone), departed.end());
}

}  // namespace x11

namespace platform {

bool register_window_class(const char* class_name, WindowProc proc, ClassIcon) {
    return classes.emplace(class_name, proc).second;
}

bool unregister_window_class(const char* class_name) {
    for (x11::WindowRecord* w : records)
        if (w->class_name == class_name) return false;  // still in use, as on Windows
    return classes.erase(class_name) == 1;
}

Handle create_window(const WindowRequest& request) {
    if (x11::headless::selected()) return x11::headless::create_window(request);
    if (!x11::glx_ready() || !x11::class_proc(request.class_name)) return 0;
    XVisualInfo* visual = default_visual();
    if (!visual) {
        x11::note_problem("no GLX visual with 8 bits of red, green and blue, 16 depth bits and 8 stencil bits");
        return 0;
    }
    auto* w = new x11::WindowRecord;
    w->class_name = request.class_name;
    w->title = request.caption ? request.caption : "";
    w->style = request.style;
    w->x = request.x;
    w->y = request.y;
    w->width = std::max(1, request.width);
    w->height = std::max(1, request.height);
    if (w->style == WindowStyle::popup) {
        w->frame = create_frame();
        if (w->frame) set_top_level_properties(*w);
    }
    bool made = (w->style != WindowStyle::popup || w->frame) && x11::realize(w, visual->visual, visual->depth);
    XFree(visual);
    if (!made) {
        if (w->frame) XDestroyWindow(x11::display(), w->frame);
        delete w;
        return 0;
    }
    if (w->frame) apply_cursor(w->frame);
    w->dc.window = w;
    records.push_back(w);
    return reinterpret_cast<Handle>(w);
}

bool destroy_window(Handle window) {
    if (x11::headless::selected()) return x11::headless::destroy_window(window);
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return false;
    Display* dpy = x11::display();
    if (w->dc.drawable) glXDestroyWindow(dpy, w->dc.drawable);
    departed.push_back({x11::top_level(*w), w->xwindow, w->class_name, has_focus(*w)});
    if (!departed.back().lingering) XDestroyWindow(dpy, x11::top_level(*w));
    XFlush(dpy);
    records.erase(std::find(records.begin(), records.end(), w));
    // The mode a fullscreen window asked for goes with it.
    if (w->frame) x11::display_mode_restore();
    delete w;
    return true;
}

Size client_size(Handle window) {
    if (x11::headless::selected()) return x11::headless::client_size(window);
    x11::WindowRecord* w = x11::window_of(window);
    return w ? Size{w->width, w->height} : Size{};
}

void resize_window(Handle window, int width, int height) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    move_window(window, w->x, w->y, width, height);
}

void move_window(Handle window, int x, int y, int width, int height) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w || width < 1 || height < 1) return;
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
    if (w->frame) {
        fit_popup(*w);
    } else {
        set_style_hints(*w);
        XMoveResizeWindow(x11::display(), w->xwindow, x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
    }
    XFlush(x11::display());
}

void set_window_title(Handle window, const char* title) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    w->title = title;
    XStoreName(x11::display(), x11::top_level(*w), title);
}

void show_window_normal(Handle window) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    Display* dpy = x11::display();
    Window top = x11::top_level(*w);
    if (w->frame) XMapWindow(dpy, w->xwindow);
    XMapRaised(dpy, top);
    XEvent event;
    XWindowEvent(dpy, top, StructureNotifyMask, &event);
    while (event.type != MapNotify) XWindowEvent(dpy, top, StructureNotifyMask, &event);
    w->mapped = true;
    // Under a window manager the window may have been placed elsewhere.
    if (w->frame)
        fit_popup(*w);
    else
        XMoveWindow(dpy, w->xwindow, w->x, w->y);
    XFlush(dpy);
}

void set_focus(Handle window) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    XSetInputFocus(x11::display(), x11::top_level(*w), RevertToParent, CurrentTime);
    destroy_lingering();
    XFlush(x11::display());
}

bool window_shown(Handle window) {
    if (x11::headless::selected()) return x11::headless::window_shown(window);
    x11::WindowRecord* w = x11::window_of(window);
    return w && w->mapped && !w->hidden;
}

void show_window(Handle window) {
    show_window_normal(window);
    set_focus(window);
}

void show_cursor(bool visible) {
    cursor_visible = visible;
    for (x11::WindowRecord* w : records) {
        apply_cursor(w->xwindow);
        if (w->frame) apply_cursor(w->frame);
    }
}

Size screen_size() {
    Display* dpy = x11::display();
    if (!dpy) return Size{};
    int screen = DefaultScreen(dpy);
    return Size{DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)};
}

}  // namespace platform
