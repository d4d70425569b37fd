// What the window manager is told about our top-level windows: whose they
// are, which decorations and functions they get, and where and how big they
// want to be.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include "platform/x11/x11_state.h"

namespace {

// _MOTIF_WM_HINTS, as toolkits write it: five longs.
enum : unsigned long {
    mwm_hints_functions = 1,
    mwm_hints_decorations = 2,
    mwm_func_move = 4,
    mwm_func_close = 32,
    mwm_decor_border = 2,
    mwm_decor_title = 8,
    mwm_decor_menu = 16,
};

Atom atom(const char* name) { return XInternAtom(x11::display(), name, False); }

}  // namespace

namespace x11 {

void wm_identify(Window top) {
    Display* dpy = display();
    char name[] = "heden", class_name[] = "Heden";
    XClassHint hint{name, class_name};
    // Also stores WM_CLIENT_MACHINE, which gives the pid below its meaning.
    XSetWMProperties(dpy, top, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &hint);
    unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(dpy, top, atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
}

void wm_decorate(Window top, bool caption) {
    // A caption with a close box: moved and closed, never resized, minimised
    // or maximised. Without a caption: no decorations at all.
    unsigned long hints[5] = {mwm_hints_decorations, 0, 0, 0, 0};
    if (caption) {
        hints[0] |= mwm_hints_functions;
        hints[1] = mwm_func_move | mwm_func_close;
        hints[2] = mwm_decor_border | mwm_decor_title | mwm_decor_menu;
    }
    Atom motif = atom("_MOTIF_WM_HINTS");
    XChangeProperty(display(), top, motif, motif, 32, PropModeReplace, reinterpret_cast<unsigned char*>(hints), 5);
}

void wm_place(Window top, const Rect& place, bool fixed_size, int gravity) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PPosition | PSize | PWinGravity;
    hints->win_gravity = gravity;
    hints->x = place.x;
    hints->y = place.y;
    hints->width = place.width;
    hints->height = place.height;
    if (fixed_size) {
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = place.width;
        hints->min_height = hints->max_height = place.height;
    }
    XSetWMNormalHints(display(), top, hints);
    XFree(hints);
}

}  // namespace x11
