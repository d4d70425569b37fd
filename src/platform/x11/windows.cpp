// Windows: one Xlib window per create. The popup style is undecorated and
// asks the window manager for fullscreen; the system-menu style is a normal
// decorated window that cannot be resized.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/x11/x11_state.h"

namespace {

std::map<std::string, platform::WindowProc> classes;
std::vector<x11::WindowRecord*> records;
bool cursor_visible = true;

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

void set_style_hints(const x11::WindowRecord& w) {
    Display* dpy = x11::display();
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PPosition | PSize | PMinSize | PMaxSize;
    hints->x = w.x;
    hints->y = w.y;
    hints->width = hints->min_width = hints->max_width = w.width;
    hints->height = hints->min_height = hints->max_height = w.height;
    XSetWMNormalHints(dpy, w.xwindow, hints);
    XFree(hints);
    Atom close = atom("WM_DELETE_WINDOW");
    XSetWMProtocols(dpy, w.xwindow, &close, 1);
    if (w.style == platform::WindowStyle::popup) {
        Atom fullscreen = atom("_NET_WM_STATE_FULLSCREEN");
        XChangeProperty(dpy, w.xwindow, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&fullscreen), 1);
    }
}

}  // namespace

namespace x11 {

bool realize(WindowRecord* w, Visual* visual, int depth) {
    Display* dpy = display();
    Window root = DefaultRootWindow(dpy);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(dpy, root, visual, AllocNone);
    attributes.event_mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            StructureNotifyMask | ExposureMask | FocusChangeMask;
    attributes.border_pixel = 0;
    Window created = XCreateWindow(dpy, root, w->x, w->y, static_cast<unsigned>(w->width),
                                   static_cast<unsigned>(w->height), 0, depth, InputOutput, visual,
                                   CWColormap | CWEventMask | CWBorderPixel, &attributes);
    if (!created) return false;
    if (w->xwindow) XDestroyWindow(dpy, w->xwindow);
    w->xwindow = created;
    w->visual = visual;
    w->depth = depth;
    XStoreName(dpy, created, w->title.c_str());
    set_style_hints(*w);
    apply_cursor(created);
    return true;
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

}  // namespace x11

namespace platform {

bool register_window_class(const char* class_name, WindowProc proc) {
    return classes.emplace(class_name, proc).second;
}

bool unregister_window_class(const char* class_name) {
    for (x11::WindowRecord* w : records)
        if (w->class_name == class_name) return false;  // still in use, as on Windows
    return classes.erase(class_name) == 1;
}

Handle create_window(const WindowRequest& request) {
    if (!x11::display() || !x11::class_proc(request.class_name)) return 0;
    XVisualInfo* visual = default_visual();
    if (!visual) return 0;
    auto* w = new x11::WindowRecord;
    w->class_name = request.class_name;
    w->title = request.caption ? request.caption : "";
    w->style = request.style;
    w->x = request.x;
    w->y = request.y;
    w->width = std::max(1, request.width);
    w->height = std::max(1, request.height);
    bool made = x11::realize(w, visual->visual, visual->depth);
    XFree(visual);
    if (!made) {
        delete w;
        return 0;
    }
    w->dc.window = w;
    records.push_back(w);
    return reinterpret_cast<Handle>(w);
}

bool destroy_window(Handle window) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return false;
    Display* dpy = x11::display();
    if (w->dc.drawable) glXDestroyWindow(dpy, w->dc.drawable);
    XDestroyWindow(dpy, w->xwindow);
    XFlush(dpy);
    records.erase(std::find(records.begin(), records.end(), w));
    delete w;
    return true;
}

Size client_size(Handle window) {
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
    set_style_hints(*w);
    XMoveResizeWindow(x11::display(), w->xwindow, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(x11::display());
}

void set_window_title(Handle window, const char* title) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    w->title = title;
    XStoreName(x11::display(), w->xwindow, title);
}

void show_window_normal(Handle window) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    Display* dpy = x11::display();
    XMapRaised(dpy, w->xwindow);
    XEvent event;
    XWindowEvent(dpy, w->xwindow, StructureNotifyMask, &event);
    while (event.type != MapNotify) XWindowEvent(dpy, w->xwindow, StructureNotifyMask, &event);
    // Under a window manager the window may have been placed elsewhere.
    XMoveWindow(dpy, w->xwindow, w->x, w->y);
    XFlush(dpy);
}

void set_focus(Handle window) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    XSetInputFocus(x11::display(), w->xwindow, RevertToParent, CurrentTime);
    XFlush(x11::display());
}

void show_window(Handle window) {
    show_window_normal(window);
    set_focus(window);
}

void show_cursor(bool visible) {
    cursor_visible = visible;
    for (x11::WindowRecord* w : records) apply_cursor(w->xwindow);
}

Size screen_size() {
    Display* dpy = x11::display();
    if (!dpy) return Size{};
    int screen = DefaultScreen(dpy);
    return Size{DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)};
}

// Fullscreen is a borderless window covering the screen: no mode switch.
int change_display_mode(const DisplayMode&) { return 0; }
void restore_display_mode() {}

}  // namespace platform
