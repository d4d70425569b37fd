// The main window through the real x11 backend, seen from a second X
// connection: keys typed through XTEST, icons and fullscreen as the window
// manager and the screen see them.
#include <gtest/gtest.h>

#include <time.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "data/file_table.h"
#include "eventually.h"
#include "platform/platform.h"
#include "start_up_files.h"
#include "temp_dir.h"
#include "window/window.h"
#include "window/window_proc.h"

// Xlib's macros (Bool, None) would clash with the headers above.
#include <GL/gl.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr const char* main_title = "F4 = toggle fullscreen";

void pause_ms(long ms) {
    timespec pause{0, ms * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

class X11Window : public ::testing::Test {
protected:
    void SetUp() override {
        // A busy X server may refuse a connection for a moment.
        for (int i = 0; i < 20 && !x; ++i, pause_ms(50)) x = XOpenDisplay(nullptr);
        ASSERT_NE(x, nullptr) << "needs an X display";
        fake::write_start_up_files();
        blob_open();
        settings_defaults();
        settings.glext = 0;  // no render targets: only the window matters here
    }
    void TearDown() override {
        if (window_state.main_window) window_destroy();
        blob_close();
        if (x) XCloseDisplay(x);
    }

    // Runs the program's message loop until nothing has arrived for 300 ms.
    void pump() {
        XSync(x, False);
        for (int quiet = 0; quiet < 30; ++quiet) {
            platform::Message message;
            while (platform::peek_message(&message)) {
                platform::dispatch_message(message);
                quiet = 0;
            }
            pause_ms(10);
        }
    }
    void key(KeySym sym, bool down) {
        XTestFakeKeyEvent(x, XKeysymToKeycode(x, sym), down, CurrentTime);
        XSync(x, False);
    }
    void tap(KeySym sym) {
        key(sym, true);
        key(sym, false);
    }

    // The viewable top-level window with this title, 0 when there is none.
    Window top_level(const char* title) {
        Window root_return = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        XQueryTree(x, DefaultRootWindow(x), &root_return, &parent, &children, &count);
        for (unsigned i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(x, children[i], &name) && name && std::string(name) == title &&
                XGetWindowAttributes(x, children[i], &attributes) && attributes.map_state == IsViewable)
                found = children[i];
            if (name) XFree(name);
        }
        if (children) XFree(children);
        return found;
    }
    std::vector<unsigned long> property(Window window, const char* name, Atom type) {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 1 << 20, False, type, &actual, &format,
                               &count, &after, &data) == Success &&
            data) {
            // Format-32 items arrive as longs, sign-extended.
            auto* longs = reinterpret_cast<unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i) values.push_back(longs[i] & 0xFFFFFFFFul);
            XFree(data);
        }
        return values;
    }
    XWindowAttributes geometry(Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(x, window, &attributes);
        return attributes;
    }
    // The main window's picture: white, swapped to the screen. The swap
    // reaches the server on the program's own connection, so the screen is
    // watched until the middle of the picture (400, 300 in both tests) shows it.
    void draw_white() {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        platform::swap_buffers(window_state.main_dc);
        glFinish();
        EXPECT_TRUE(fake::eventually([&] { return on_screen(400, 300) == 0xFFFFFFu; })) << "the swap never showed";
    }
    // 0xRRGGBB at (px, py) of the screen.
    unsigned long on_screen(int px, int py) {
        XImage* image = XGetImage(x, DefaultRootWindow(x), px, py, 1, 1, AllPlanes, ZPixmap);
        unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return p;
    }

    Display* x = nullptr;
    fake::TempDir dir;
};

// Each F4 press toggles once, also when its release is delivered after the
// window that took the press is gone, or never reaches us at all, and also
// when presses were queued for a window that a toggle has since destroyed.
TEST_F(X11Window, EveryF4TapToggles) {
    ASSERT_EQ(window_setup(1), 0);
    pump();
    std::vector<int> modes;
    for (int i = 0; i < 4; ++i) {
        tap(XK_F4);
        pump();
        modes.push_back(settings.fullscreen);
    }
    EXPECT_EQ(modes, (std::vector<int>{1, 0, 1, 0}));

    // The release goes nowhere: focus is taken away between press and release.
    key(XK_F4, true);
    pump();
    EXPECT_EQ(settings.fullscreen, 1);
    XSetInputFocus(x, None, RevertToNone, CurrentTime);
    key(XK_F4, false);
    XSetInputFocus(x, top_level(main_title), RevertToParent, CurrentTime);
    pump();
    tap(XK_F4);
    pump();
    EXPECT_EQ(settings.fullscreen, 0);

    // Two taps before the program looks: all four events are queued for
    // the window that the first press destroys. Two toggles, not one, and
    // not none: every toggle makes a new window.
    platform::Handle before = window_state.main_window;
    tap(XK_F4);
    tap(XK_F4);
    pump();
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_NE(window_state.main_window, before);
}

// The timeline's keys as typed: Space, the arrows, Shift held with one, Home.
TEST_F(X11Window, TimelineKeysArriveWithTheShiftState) {
    settings.debug_timeline = 1;
    ASSERT_EQ(window_setup(1), 0);
    pump();
    timeline_pause() = TimelinePause{};
    tap(XK_space);
    pump();
    ASSERT_TRUE(timeline_pause().paused);
    tap(XK_Right);
    tap(XK_Right);
    tap(XK_Left);
    pump();
    EXPECT_EQ(timeline_pause().frame, 1);
    key(XK_Shift_L, true);
    tap(XK_Right);
    key(XK_Shift_L, false);
    tap(XK_Right);
    pump();
    EXPECT_EQ(timeline_pause().frame, beat_step(1, 1) + 1);
    tap(XK_Home);
    tap(XK_space);
    pump();
    EXPECT_EQ(timeline_pause().frame, 0);
    EXPECT_FALSE(timeline_pause().paused);
}

// Icons from the palette pictures: 16 x 16 then 32 x 32, orange inside and
// see-through where the picture is pure green, on the window the window
// manager sees, in both modes.
TEST_F(X11Window, MainWindowCarriesBothIcons) {
    ASSERT_EQ(window_setup(1), 0);
    for (int mode = 0; mode < 2; ++mode) {
        pump();
        Window top = top_level(main_title);
        ASSERT_NE(top, 0u) << "mode " << mode;
        std::vector<unsigned long> icons = property(top, "_NET_WM_ICON", XA_CARDINAL);
        ASSERT_EQ(icons.size(), 2u + 16 * 16 + 2 + 32 * 32) << "mode " << mode;
        EXPECT_EQ(icons[0], 16u);
        EXPECT_EQ(icons[1], 16u);
        EXPECT_EQ(icons[2], 0u) << "corner";
        EXPECT_EQ(icons[2 + 8 * 16 + 8], 0xFFFF8000u) << "middle";
        EXPECT_EQ(icons[2 + 256], 32u);
        EXPECT_EQ(icons[2 + 256 + 2 + 16 * 32 + 16], 0xFFFF8000u);
        window_setup(0);
    }
}

// 800 x 600 on a 1280 x 1024 screen that offers no such mode: a black
// fullscreen window covers the screen with the picture centred in it, and
// the viewport is the drawing area of the 800 x 600 picture.
TEST_F(X11Window, FullscreenWithoutTheModeCentresThePictureOnBlack) {
    settings.fullscreen = 1;
    ASSERT_EQ(window_setup(1), 0);
    pump();
    draw_white();
    Window top = top_level(main_title);
    ASSERT_NE(top, 0u);
    XWindowAttributes frame = geometry(top);
    EXPECT_EQ(frame.x, 0);
    EXPECT_EQ(frame.y, 0);
    EXPECT_EQ(frame.width, 1280);
    EXPECT_EQ(frame.height, 1024);
    Atom fullscreen_state = XInternAtom(x, "_NET_WM_STATE_FULLSCREEN", False);
    EXPECT_EQ(property(top, "_NET_WM_STATE", XA_ATOM), std::vector<unsigned long>{fullscreen_state});
    // The picture spans columns 240..1039 and rows 212..811.
    for (auto [px, py] : {std::pair{240, 212}, std::pair{1039, 811}, std::pair{640, 512}})
        EXPECT_EQ(on_screen(px, py), 0xFFFFFFu) << px << "," << py;
    for (auto [px, py] : {std::pair{0, 0}, std::pair{1279, 1023}, std::pair{239, 512}, std::pair{1040, 512},
                          std::pair{640, 211}, std::pair{640, 812}})
        EXPECT_EQ(on_screen(px, py), 0u) << px << "," << py;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 75, 800, 450}));
}

// A screen that offers 800 x 600: fullscreen switches the monitor to it and
// the picture fills it; leaving fullscreen and closing the window both put
// the mode back.
class X11WindowWithMode : public X11Window {
protected:
    void SetUp() override {
        X11Window::SetUp();
        if (HasFatalFailure()) return;
        Window root = DefaultRootWindow(x);
        XRRScreenResources* resources = XRRGetScreenResourcesCurrent(x, root);
        ASSERT_NE(resources, nullptr);
        ASSERT_EQ(resources->noutput, 1) << "Xvfb's one output";
        output = resources->outputs[0];
        XRRFreeScreenResources(resources);
        XRRModeInfo info{};
        char name[] = "heden-800x600";
        info.width = 800;
        info.height = 600;
        info.dotClock = 40000000;
        info.hTotal = 1056;
        info.vTotal = 628;
        info.name = name;
        info.nameLength = sizeof name - 1;
        with_crtc([&](XRRScreenResources*, RRCrtc, XRRCrtcInfo* crtc) { original = crtc->mode; });
        mode = XRRCreateMode(x, root, &info);
        XRRAddOutputMode(x, output, mode);
        XSync(x, False);
    }
    void TearDown() override {
        if (window_state.main_window) window_destroy();
        if (!mode) return X11Window::TearDown();
        // Whatever the test left, the next one starts from the screen's own mode.
        with_crtc([&](XRRScreenResources* resources, RRCrtc id, XRRCrtcInfo* crtc) {
            if (crtc->mode != original)
                XRRSetCrtcConfig(x, resources, id, CurrentTime, crtc->x, crtc->y, original, crtc->rotation, &output, 1);
        });
        XRRDeleteOutputMode(x, output, mode);
        XRRDestroyMode(x, mode);
        XSync(x, False);
        X11Window::TearDown();
    }
    template <class Use>
    void with_crtc(Use use) {
        XRRScreenResources* resources = XRRGetScreenResourcesCurrent(x, DefaultRootWindow(x));
        XRROutputInfo* info = XRRGetOutputInfo(x, resources, output);
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(x, resources, info->crtc);
        use(resources, info->crtc, crtc);
        XRRFreeCrtcInfo(crtc);
        XRRFreeOutputInfo(info);
        XRRFreeScreenResources(resources);
    }
    // The size the monitor shows now.
    std::pair<unsigned, unsigned> monitor() {
        std::pair<unsigned, unsigned> size;
        with_crtc([&](XRRScreenResources*, RRCrtc, XRRCrtcInfo* crtc) { size = {crtc->width, crtc->height}; });
        return size;
    }
    RROutput output = 0;
    RRMode mode = 0, original = 0;
};

TEST_F(X11WindowWithMode, FullscreenSwitchesTheModeAndPutsItBack) {
    using Size = std::pair<unsigned, unsigned>;
    settings.fullscreen = 1;
    ASSERT_EQ(window_setup(1), 0);
    pump();
    EXPECT_EQ(monitor(), (Size{800, 600}));
    draw_white();
    XWindowAttributes frame = geometry(top_level(main_title));
    EXPECT_EQ(frame.width, 800);
    EXPECT_EQ(frame.height, 600);
    EXPECT_EQ(on_screen(0, 0), 0xFFFFFFu);
    EXPECT_EQ(on_screen(799, 599), 0xFFFFFFu);
    window_setup(0);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(monitor(), (Size{1280, 1024})) << "leaving fullscreen";
    window_setup(0);
    EXPECT_EQ(monitor(), (Size{800, 600}));
    window_destroy();
    EXPECT_EQ(monitor(), (Size{1280, 1024})) << "closing the window";
}

}  // namespace
