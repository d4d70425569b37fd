// The thread's message queue: posted messages first, then X events turned
// into the message records the Win32 build receives.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <poll.h>

#include <deque>
#include <iterator>
#include <set>

#include "platform/x11/headless.h"
#include "platform/x11/x11_state.h"

namespace {

std::deque<platform::Message> posted;
std::set<unsigned> keys_down;
bool shift_with_last_key = false;  // Shift held at the last key event taken

x11::WindowRecord* record_of(Window xwindow) {
    for (x11::WindowRecord* w : x11::windows())
        if (w->xwindow == xwindow || w->frame == xwindow) return w;
    return nullptr;
}

// Held keys whose release we never saw (it went to another client while
// none of our windows had the focus) are held no longer.
void forget_released_keys() {
    char pressed[32] = {};
    XQueryKeymap(x11::display(), pressed);
    for (auto key = keys_down.begin(); key != keys_down.end();)
        key = (pressed[*key / 8] >> (*key % 8) & 1) ? std::next(key) : keys_down.erase(key);
}

std::uintptr_t virtual_key(XKeyEvent* event) {
    KeySym sym = XLookupKeysym(event, 0);
    if (sym == XK_Escape) return platform::key_escape;
    if (sym >= XK_F1 && sym <= XK_F12) return 112 + (sym - XK_F1);
    if (sym >= XK_a && sym <= XK_z) return 'A' + (sym - XK_a);
    if (sym >= XK_0 && sym <= XK_9) return sym;
    if (sym == XK_space || sym == XK_Return) return sym == XK_space ? 32 : 13;
    if (sym == XK_Home) return platform::key_home;
    if (sym == XK_Left) return platform::key_left;
    if (sym == XK_Right) return platform::key_right;
    return 0;
}

std::intptr_t mouse_position(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<unsigned>(y) & 0xFFFF) << 16 | (static_cast<unsigned>(x) & 0xFFFF));
}

bool hidden_state(Window window) {
    Display* dpy = x11::display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool hidden = false;
    if (XGetWindowProperty(dpy, window, XInternAtom(dpy, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM, &type,
                           &format, &count, &after, &data) == Success && data && format == 32) {
        Atom hidden_atom = XInternAtom(dpy, "_NET_WM_STATE_HIDDEN", False);
        auto* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) hidden = hidden || atoms[i] == hidden_atom;
    }
    if (data) XFree(data);
    return hidden;
}

// Keeps the record's view of whether anybody can see the window.
void note_visibility(XEvent& event, x11::WindowRecord* w) {
    if (event.xany.window != x11::top_level(*w)) return;
    if (event.type == MapNotify) w->mapped = true;
    if (event.type == UnmapNotify) w->mapped = false;
    if (event.type == PropertyNotify && event.xproperty.atom == XInternAtom(x11::display(), "_NET_WM_STATE", False))
        w->hidden = hidden_state(event.xany.window);
}

// Fills `out` from one X event; false for events the program has no use for.
bool translate(XEvent& event, platform::Message* out) {
    // A key is up again whichever window its release went to: the window that
    // had the press may be gone (F4 re-creates it).
    if (event.type == KeyRelease) keys_down.erase(event.xkey.keycode);
    if (event.type == KeyPress || event.type == KeyRelease) shift_with_last_key = event.xkey.state & ShiftMask;
    if (event.type == FocusIn) forget_released_keys();
    if (event.type == DestroyNotify) x11::departed_gone(event.xdestroywindow.window);
    x11::WindowRecord* w = record_of(event.xany.window);
    if (!w && (event.type == KeyPress || event.type == KeyRelease)) w = x11::key_heir(event.xany.window);
    if (!w) return false;
    note_visibility(event, w);
    out->window = reinterpret_cast<platform::Handle>(w);
    switch (event.type) {
        case KeyPress: {
            unsigned code = event.xkey.keycode;
            bool repeat = !keys_down.insert(code).second;
            // Bit 30 carries the previous key state, as on Windows.
            *out = {out->window, platform::msg_keydown, virtual_key(&event.xkey), repeat ? (1 << 30) | 1 : 1};
            return true;
        }
        case KeyRelease:
            *out = {out->window, platform::msg_keyup, virtual_key(&event.xkey), static_cast<std::intptr_t>(0xC0000001)};
            return true;
        case MotionNotify:
            *out = {out->window, platform::msg_mousemove,
                    (event.xmotion.state & Button1Mask) ? std::uintptr_t{platform::mk_lbutton} : std::uintptr_t{0},
                    mouse_position(event.xmotion.x, event.xmotion.y)};
            return true;
        case ButtonRelease:
            if (event.xbutton.button != Button1 && event.xbutton.button != Button3) return false;
            *out = {out->window, event.xbutton.button == Button1 ? platform::msg_lbuttonup : platform::msg_rbuttonup,
                    0, mouse_position(event.xbutton.x, event.xbutton.y)};
            return true;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) != XInternAtom(x11::display(), "WM_DELETE_WINDOW", False))
                return false;
            *out = {out->window, platform::msg_close, 0, 0};
            return true;
        default:
            return false;
    }
}

}  // namespace

namespace platform {

bool peek_message(Message* out) {
    if (!posted.empty()) {
        *out = posted.front();
        posted.pop_front();
        return true;
    }
    Display* dpy = x11::display();
    if (!dpy) return false;
    static bool detectable = false;
    if (!detectable) {
        // Held keys then send presses only, so repeats are told apart.
        XkbSetDetectableAutoRepeat(dpy, True, nullptr);
        detectable = true;
    }
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (translate(event, out)) return true;
    }
    return false;
}

void wait_message(int timeout_ms) {
    Display* dpy = x11::display();
    if (!posted.empty() || !dpy || XPending(dpy) > 0) return;
    pollfd connection{ConnectionNumber(dpy), POLLIN, 0};
    poll(&connection, 1, timeout_ms);
}

void translate_message(const Message&) {}

std::intptr_t dispatch_message(const Message& msg) {
    if (x11::headless::selected()) return x11::headless::dispatch_message(msg);
    x11::WindowRecord* w = x11::window_of(msg.window);
    if (!w) return 0;
    WindowProc proc = x11::class_proc(w->class_name);
    return proc ? proc(msg.window, msg.message, msg.wparam, msg.lparam) : 0;
}

void post_quit_message(int exit_code) {
    posted.push_back(Message{0, msg_quit, static_cast<std::uintptr_t>(exit_code), 0});
}

bool shift_held() { return shift_with_last_key; }

std::intptr_t default_window_proc(Handle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

}  // namespace platform
