// Error boxes: a small modal window of our own with the text and an OK
// button (Enter, Escape, Space or a click dismisses it). The text also goes
// to standard error, which is all there is without a display.
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

bool dismisses(XEvent& event) {
    if (event.type == ButtonRelease) return true;
    if (event.type == ClientMessage) return true;
    if (event.type != KeyPress) return false;
    KeySym sym = XLookupKeysym(&event.xkey, 0);
    return sym == XK_Return || sym == XK_KP_Enter || sym == XK_Escape || sym == XK_space;
}

void modal_dialog(Display* dpy, const char* text, const char* caption) {
    std::vector<std::string> lines = split_lines(text);
    std::size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    int width = std::max(240, static_cast<int>(longest) * 6 + 32);
    int height = static_cast<int>(lines.size()) * 16 + 64;
    int screen = DefaultScreen(dpy);
    Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), (DisplayWidth(dpy, screen) - width) / 2,
                                        (DisplayHeight(dpy, screen) - height) / 2, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 1, BlackPixel(dpy, screen),
                                        WhitePixel(dpy, screen));
    XStoreName(dpy, window, caption);
    Atom close = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, window, &close, 1);
    XSelectInput(dpy, window, ExposureMask | KeyPressMask | ButtonReleaseMask | StructureNotifyMask);
    XMapRaised(dpy, window);
    GC gc = XCreateGC(dpy, window, 0, nullptr);
    XSetForeground(dpy, gc, BlackPixel(dpy, screen));
    for (;;) {
        XEvent event;
        XIfEvent(dpy, &event, for_window, reinterpret_cast<XPointer>(&window));
        if (event.type == MapNotify) XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
        if (event.type == Expose) paint(dpy, window, gc, lines, width, height);
        if (dismisses(event)) break;
    }
    XFreeGC(dpy, gc);
    XDestroyWindow(dpy, window);
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
