// Fullscreen display modes with XRandR: the monitor of the primary output is
// switched to the requested size when it offers that mode, and switched back
// when fullscreen ends (leaving fullscreen, the window going, or exit).
// Without such a mode the monitor keeps its mode and the popup's black frame
// covers it, with the picture centred.
#include <X11/extensions/Xrandr.h>

#include <cstdlib>
#include <vector>

#include "platform/x11/x11_state.h"

namespace {

// Where a mode is set: a CRTC with its place, rotation and outputs.
struct CrtcPlace {
    RRCrtc crtc = 0;
    RRMode mode = 0;  // the mode it showed before we changed it
    Rotation rotation = RR_Rotate_0;
    int x = 0, y = 0;
    std::vector<RROutput> outputs;
};

bool mode_changed = false;
CrtcPlace changed;

bool randr_present() {
    int event_base = 0, error_base = 0;
    return x11::display() && XRRQueryExtension(x11::display(), &event_base, &error_base);
}

// The output that carries the picture: the primary one when it is lit, else
// the first lit output. 0 when none is.
RROutput lit_output(Display* dpy, XRRScreenResources* resources) {
    RROutput primary = XRRGetOutputPrimary(dpy, DefaultRootWindow(dpy));
    RROutput first = 0;
    for (int i = 0; i < resources->noutput; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(dpy, resources, resources->outputs[i]);
        bool lit = info && info->crtc != 0;
        if (info) XRRFreeOutputInfo(info);
        if (!lit) continue;
        if (resources->outputs[i] == primary) return primary;
        if (!first) first = resources->outputs[i];
    }
    return first;
}

// The lit output and its CRTC as the server has them now; the members are
// null when there is no RandR or no lit output.
struct LitCrtc {
    XRRScreenResources* resources = nullptr;
    XRROutputInfo* output = nullptr;
    XRRCrtcInfo* crtc = nullptr;

    LitCrtc() {
        if (!randr_present()) return;
        Display* dpy = x11::display();
        resources = XRRGetScreenResourcesCurrent(dpy, DefaultRootWindow(dpy));
        RROutput lit = resources ? lit_output(dpy, resources) : 0;
        output = lit ? XRRGetOutputInfo(dpy, resources, lit) : nullptr;
        crtc = output ? XRRGetCrtcInfo(dpy, resources, output->crtc) : nullptr;
    }
    ~LitCrtc() {
        if (crtc) XRRFreeCrtcInfo(crtc);
        if (output) XRRFreeOutputInfo(output);
        if (resources) XRRFreeScreenResources(resources);
    }
    LitCrtc(const LitCrtc&) = delete;
    LitCrtc& operator=(const LitCrtc&) = delete;

    // The output's mode of exactly this size, 0 when it offers none.
    RRMode mode_of_size(int width, int height) const {
        for (int m = 0; m < output->nmode; ++m)
            for (int i = 0; i < resources->nmode; ++i) {
                const XRRModeInfo& mode = resources->modes[i];
                if (mode.id == output->modes[m] && static_cast<int>(mode.width) == width &&
                    static_cast<int>(mode.height) == height)
                    return mode.id;
            }
        return 0;
    }

    CrtcPlace place() const {
        return CrtcPlace{output->crtc, crtc->mode, crtc->rotation, crtc->x, crtc->y,
                         std::vector<RROutput>(crtc->outputs, crtc->outputs + crtc->noutput)};
    }
};

// Shows `mode` on the CRTC; true when the server accepted it.
bool set_crtc_mode(XRRScreenResources* resources, const CrtcPlace& place, RRMode mode) {
    Display* dpy = x11::display();
    Status status = XRRSetCrtcConfig(dpy, resources, place.crtc, CurrentTime, place.x, place.y, mode, place.rotation,
                                     const_cast<RROutput*>(place.outputs.data()),
                                     static_cast<int>(place.outputs.size()));
    XSync(dpy, False);
    return status == RRSetConfigSuccess;
}

// Switches the lit output's CRTC to a mode of width x height. 0 when it did
// and when there is no such mode (the frame then covers the monitor); -1 when
// the server refused the switch.
int switch_mode(int width, int height) {
    LitCrtc lit;
    if (!lit.crtc) return 0;
    RRMode wanted = lit.mode_of_size(width, height);
    if (!wanted || wanted == lit.crtc->mode) return 0;
    CrtcPlace before = lit.place();
    if (!set_crtc_mode(lit.resources, before, wanted)) return -1;
    // A second switch keeps the mode from before the first.
    if (!mode_changed) changed = before;
    mode_changed = true;
    static bool registered = false;
    if (!registered) registered = std::atexit(x11::display_mode_restore) == 0;
    return 0;
}

}  // namespace

namespace x11 {

Rect monitor_area() {
    Display* dpy = display();
    if (!dpy) return Rect{};
    LitCrtc lit;
    if (lit.crtc && lit.crtc->width > 0 && lit.crtc->height > 0)
        return Rect{lit.crtc->x, lit.crtc->y, static_cast<int>(lit.crtc->width), static_cast<int>(lit.crtc->height)};
    return Rect{0, 0, DisplayWidth(dpy, DefaultScreen(dpy)), DisplayHeight(dpy, DefaultScreen(dpy))};
}

void display_mode_restore() {
    if (!mode_changed || !display()) return;
    mode_changed = false;
    LitCrtc lit;
    if (lit.resources) set_crtc_mode(lit.resources, changed, changed.mode);
    popups_fit_monitor();
}

}  // namespace x11

namespace platform {

// The colour depth cannot change under X; only the size is switched.
int change_display_mode(const DisplayMode& mode) {
    int result = switch_mode(mode.width, mode.height);
    x11::popups_fit_monitor();
    return result;
}

void restore_display_mode() { x11::display_mode_restore(); }

}  // namespace platform
