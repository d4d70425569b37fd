// Error boxes: a small modal window of our own with the text and an OK
// button (Enter, Escape, Space or a click dismisses it). The text also goes
// to standard error, which is all there is without a display. A box belongs
// to the program's window when one is shown: it stays above it, centred.
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/x11/x11_state.h"

namespace {

std::vector<std::string> split_lines(const char* text) {
    std::vector<std::string> lines(1);
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') lines.emplace_back();
        else if (*c != '\r') lines.back() += *c;
    }
    return lines;
}

void paint(Display* dpy, Window window, GC gc, const std::vector<std::string>& lines, int width, int height) {
    XClearWindow(dpy, window);
    int y = 24;
    for (const std::string& line : lines) {
        XDrawString(dpy, window, gc, 16, y, line.c_str(), static_cast<int>(line.size()));
        y += 16;
    }
    XDrawRectangle(dpy, window, gc, width / 2 - 30, height - 36, 60, 24);
    XDrawString(dpy, window, gc, width / 2 - 7, height - 19, "OK", 2);
}

Bool for_window(Display*, XEvent* event, XPointer window) {
    return event->xany.window == *reinterpret_cast<Window*>(window) ? True : False;
}

bool dismissing_key(XEvent& event) {
    KeySym sym = XLookupKeysym(&event.xkey, 0);
    return sym == XK_Return || sym == XK_KP_Enter || sym == XK_Escape || sym == XK_space;
}

// A key dismisses the box when it is released, so that its release does
// not go on to the window below (Escape there quits the program). Only a
// key pressed while the box was up counts.
bool dismisses(XEvent& event, bool* key_pressed) {
    if (event.type == ButtonRelease || event.type == ClientMessage) return true;
    if (event.type == KeyPress && dismissing_key(event)) *key_pressed = true;
    return event.type == KeyRelease && *key_pressed && dismissing_key(event);
}

// The oldest of our windows on the screen, which a box belongs to; 0 when
// none is shown.
Window owner_window(Display* dpy) {
    for (x11::WindowRecord* w : x11::windows()) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(dpy, x11::top_level(*w), &attributes) && attributes.map_state == IsViewable)
            return x11::top_level(*w);
    }
    return 0;
}

// The box's place: centred over its owner, or over the screen without one,
// and kept on the screen.
x11::Rect box_place(Display* dpy, Window owner, int width, int height) {
    int screen = DefaultScreen(dpy);
    x11::Rect over{0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)};
    XWindowAttributes attributes;
    Window child = 0;
    if (owner && XGetWindowAttributes(dpy, owner, &attributes) &&
        XTranslateCoordinates(dpy, owner, RootWindow(dpy, screen), 0, 0, &over.x, &over.y, &child)) {
        over.width = attributes.width;
        over.height = attributes.height;
    }
    int x = over.x + (over.width - width) / 2, y = over.y + (over.height - height) / 2;
    x = std::max(0, std::min(x, DisplayWidth(dpy, screen) - width));
    y = std::max(0, std::min(y, DisplayHeight(dpy, screen) - height));
    return x11::Rect{x, y, width, height};
}

// While a box is up nobody draws the GL windows: the server keeps their
// pictures and puts back what the box uncovers. Only for the box's time,
// so frames are not copied through a backing pixmap otherwise.
void keep_gl_pictures(Display* dpy, bool keep) {
    XSetWindowAttributes attributes{};
    attributes.backing_store = keep ? WhenMapped : NotUseful;
    for (x11::WindowRecord* w : x11::windows()) XChangeWindowAttributes(dpy, w->xwindow, CWBackingStore, &attributes);
}

void modal_dialog(Display* dpy, const char* text, const char* caption) {
    std::vector<std::string> lines = split_lines(text);
    std::size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    int width = std::max(240, static_cast<int>(longest) * 6 + 32);
    int height = static_cast<int>(lines.size()) * 16 + 64;
    int screen = DefaultScreen(dpy);
    Window owner = owner_window(dpy);
    x11::Rect place = box_place(dpy, owner, width, height);
    Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), place.x, place.y, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 1, BlackPixel(dpy, screen),
                                        WhitePixel(dpy, screen));
    XStoreName(dpy, window, caption);
    x11::wm_identify(window);
    x11::wm_decorate(window, true);
    x11::wm_place(window, place, true, StaticGravity);
    if (owner) XSetTransientForHint(dpy, window, owner);
    Atom close = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, window, &close, 1);
    XSelectInput(dpy, window, ExposureMask | KeyPressMask | KeyReleaseMask | ButtonReleaseMask | StructureNotifyMask);
    keep_gl_pictures(dpy, true);
    XMapRaised(dpy, window);
    GC gc = XCreateGC(dpy, window, 0, nullptr);
    XSetForeground(dpy, gc, BlackPixel(dpy, screen));
    bool key_pressed = false;
    for (;;) {
        XEvent event;
        XIfEvent(dpy, &event, for_window, reinterpret_cast<XPointer>(&window));
        if (event.type == MapNotify) XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
        if (event.type == Expose) paint(dpy, window, gc, lines, width, height);
        if (dismisses(event, &key_pressed)) break;
    }
    XFreeGC(dpy, gc);
    XDestroyWindow(dpy, window);
    // The server paints what the box uncovered from the kept pictures
    // before it hears that they need not be kept any more.
    XSync(dpy, False);
    keep_gl_pictures(dpy, false);
    XFlush(dpy);
}

}  // namespace

namespace platform {

void message_box(const char* text, const char* caption) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    std::fflush(stderr);
    if (Display* dpy = x11::display()) modal_dialog(dpy, text, caption);
}

}  // namespace platform
