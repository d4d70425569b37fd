#include "window/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "config/settings.h"
#include "fake_platform.h"
#include "image/icon.h"
#include "start_up_files.h"
#include "temp_dir.h"
#include "window/debug_window.h"
#include "window/window_proc.h"

namespace {

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings_defaults();
        window_state = WindowState{};  // what a test before left there goes
        icon_image.width = icon_image.height = small_icon_image.width = small_icon_image.height = 0;
        fake::write_start_up_files();
    }
    fake::TempDir dir;
    bool box_starts(int i, const std::string& prefix) {
        return i < static_cast<int>(fake::state.boxes.size()) && fake::state.boxes[i].rfind(prefix, 0) == 0;
    }
};

TEST_F(Window, WindowedIsPlacedByAlignmentWithAnExactClientArea) {
    ASSERT_EQ(window_create(), 0);
    EXPECT_EQ(fake::find("restore_display_mode()"), 1);
    EXPECT_EQ(fake::count("create_window(F4 = toggle fullscreen,sysmenu,240,212,800,600)"), 1);
    // The fake's client area is 784 x 561, so the frame needs 16 x 39 more.
    EXPECT_EQ(fake::count("resize_window(0x1001,816,639)"), 1);
    EXPECT_EQ(fake::count("choose_pixel_format(0x2001,32,16,8)"), 1);
    EXPECT_EQ(fake::count("set_pixel_format(0x2001,7)"), 1);
    EXPECT_EQ(fake::count("make_gl_current(0x2001,0x3001)"), 1);
    EXPECT_EQ(fake::count("show_cursor(1)"), 1);
    EXPECT_EQ(fake::count("set_window_title"), 0);
    EXPECT_EQ(window_state.main_window, 0x1001u);
    EXPECT_EQ(window_state.main_dc, 0x2001u);
    EXPECT_EQ(window_state.main_context, 0x3001u);
    EXPECT_TRUE(fake::state.boxes.empty());
}

TEST_F(Window, AlignmentsZeroAndTwoKeep16PixelsFromTheEdges) {
    settings.halign = 2;
    settings.valign = 0;
    settings.window_caption = "heden";
    ASSERT_EQ(window_create(), 0);
    EXPECT_EQ(fake::count("create_window(F4 = toggle fullscreen,sysmenu,464,16,800,600)"), 1);
    EXPECT_EQ(fake::count("set_window_title(heden)"), 1);
}

TEST_F(Window, FullscreenCreatesThePopupBeforeChangingTheMode) {
    settings.fullscreen = 1;
    fake::script("change_display_mode", {-2});
    ASSERT_EQ(window_create(), 0);
    int popup = fake::find("create_window(F4 = toggle fullscreen,popup,0,0,800,600)");
    int mode = fake::find("change_display_mode(800,600,32)");
    ASSERT_GE(popup, 0);
    EXPECT_GT(mode, popup);
    EXPECT_TRUE(box_starts(0, "failure:\n ChangeDisplaySettings(0x"));
    EXPECT_NE(fake::state.boxes[0].find(",0x4)\n returned -2"), std::string::npos);
    EXPECT_EQ(fake::count("show_cursor(0)"), 1);
    EXPECT_EQ(fake::count("restore_display_mode"), 0);
}

TEST_F(Window, FailuresReturnTheirCodesWithTheirBoxes) {
    fake::script("register_window_class", {0});
    EXPECT_EQ(window_create(), window_no_class);
    EXPECT_EQ(fake::state.boxes.back(), "RegisterClass() failed");

    fake::script("create_window", {0});
    EXPECT_EQ(window_create(), window_no_window);
    EXPECT_EQ(fake::state.boxes.back(), "CreateWindow() failed");

    fake::script("make_gl_current", {0});
    EXPECT_EQ(window_create(), window_not_current);
    EXPECT_EQ(fake::state.boxes.back(), "wglMakeCurrent(0x2001,0x3001) \n failure :( ");
}

TEST_F(Window, MissingContextUndoesTheWindowInOrder) {
    fake::script("create_gl_context", {0});
    fake::script("last_error", {1450});
    EXPECT_EQ(window_create(), window_no_context);
    int release = fake::find("release_dc(0x1001,0x2001)");
    int destroy = fake::find("destroy_window(0x1001)");
    int unregister = fake::find("unregister_window_class(OWATZIJNWEHEDENBLIJ)");
    EXPECT_LT(release, destroy);
    EXPECT_LT(destroy, unregister);
    EXPECT_EQ(fake::state.boxes.back(), "wglCreateContext(0x2001); \nreturned an errorcode 1450");
}

TEST_F(Window, PixelFormatFailuresAreReportedAndCreationGoesOn) {
    fake::script("choose_pixel_format", {0});
    fake::script("set_pixel_format", {0});
    EXPECT_EQ(window_create(), 0);
    ASSERT_EQ(fake::state.boxes.size(), 2u);
    EXPECT_TRUE(box_starts(0, "window_create :: ChoosePixelFormat(0x2001,0x"));
    EXPECT_TRUE(box_starts(1, "window_create :: SetPixelFormat(0x2001,0x0,0x"));
}

TEST_F(Window, SetupProbesOnceThenReportsAFailedCreation) {
    fake::script("create_window", {0x4001, 0});  // the probe's window, then the main window
    EXPECT_EQ(window_setup(1), window_no_window);
    EXPECT_EQ(fake::count("create_window(loading..,overlapped,0,0,100,16)"), 1);
    ASSERT_EQ(fake::state.boxes.size(), 2u);
    EXPECT_EQ(fake::state.boxes[1], "window creation failed \n exiting now -2");
}

TEST_F(Window, BothWindowsGetTheSmallAndTheBigIcon) {
    settings.debug_timeline = 1;
    ASSERT_EQ(window_setup(1), 0);
    EXPECT_EQ(fake::count("create_icon(16,16)"), 2);
    EXPECT_EQ(fake::count("create_icon(32,32)"), 2);
    EXPECT_EQ(fake::count("set_window_icon(0x1002,small,0x5001)"), 1);  // the main window
    EXPECT_EQ(fake::count("set_window_icon(0x1002,big,0x5001)"), 1);
    EXPECT_EQ(fake::count("set_window_icon(0x1003,small,0x5001)"), 1);  // the debug window
    EXPECT_EQ(fake::count("set_window_icon(0x1003,big,0x5001)"), 1);
    EXPECT_TRUE(fake::state.boxes.empty());
}

TEST_F(Window, MissingIconPicturesLeaveNoSmallIconAndRemoveTheBigOne) {
    std::remove("pool/icon.pcx");
    std::remove("pool/icons.pcx");
    ASSERT_EQ(window_setup(1), 0);
    EXPECT_EQ(fake::count("create_icon"), 0);
    EXPECT_EQ(fake::count("set_window_icon(0x1002,small"), 0);
    EXPECT_EQ(fake::count("set_window_icon(0x1002,big,0x0)"), 1);
    ASSERT_EQ(fake::state.boxes.size(), 2u);
    EXPECT_EQ(fake::state.boxes[0], "file pool/icon.pcx does not exist?");
}

TEST_F(Window, DestroyRunsEveryStepAndReportsEachFailure) {
    ASSERT_EQ(window_create(), 0);
    fake::state.calls.clear();
    fake::script("delete_gl_context", {0});
    fake::script("release_dc", {0});
    fake::script("destroy_window", {0});
    fake::script("unregister_window_class", {0});
    EXPECT_EQ(window_destroy(), 0);
    EXPECT_EQ(fake::state.calls[0], "make_gl_current(0x0,0x0)");
    ASSERT_EQ(fake::state.boxes.size(), 4u);
    EXPECT_EQ(fake::state.boxes[0], "WglDeleteContext(0x3001) failure");
    EXPECT_EQ(fake::state.boxes[1], "ReleaseDC(0x1001) failed ");
    EXPECT_EQ(fake::state.boxes[2], "DestroyWindow failed");
    EXPECT_EQ(fake::state.boxes[3], "UnregisterClassFailed");
    fake::state.boxes.clear();
    EXPECT_EQ(window_destroy(), 0);
    EXPECT_TRUE(fake::state.boxes.empty());
    EXPECT_EQ(window_state.main_window, 0u);
}

class WindowProc : public Window {
protected:
    void SetUp() override {
        Window::SetUp();
        window_state.play = &play;
    }
    void TearDown() override {
        window_state.play = nullptr;
        Window::TearDown();
    }
    std::intptr_t send(std::uint32_t message, std::uintptr_t wparam = 0, std::intptr_t lparam = 0) {
        return window_proc(window_state.main_window, message, wparam, lparam);
    }
    PlayControls play;  // the playing demo's, which the timeline works on
};

TEST_F(WindowProc, EscapeAndCloseQuit) {
    send(platform::msg_keydown, platform::key_escape);
    send(platform::msg_keyup, platform::key_escape);
    EXPECT_EQ(fake::count("post_quit_message(0)"), 2);
    EXPECT_EQ(send(platform::msg_close), 0);
    EXPECT_EQ(fake::count("post_quit_message(0)"), 3);
    EXPECT_EQ(fake::count("default_window_proc(0x10)"), 0);  // close is not passed on
    EXPECT_EQ(fake::count("destroy_window"), 0);
}

// A press and release is one toggle; auto-repeats of a held key are none.
TEST_F(WindowProc, EachF4PressTogglesOnce) {
    ASSERT_EQ(window_setup(1), 0);
    int files_before = fake::count("create_window(loading..");
    send(platform::msg_keydown, platform::key_f4, 1);
    EXPECT_EQ(settings.fullscreen, 1);
    EXPECT_EQ(fake::count("create_window(F4 = toggle fullscreen,popup"), 1);
    send(platform::msg_keydown, platform::key_f4, (1 << 30) | 1);
    send(platform::msg_keyup, platform::key_f4, static_cast<std::intptr_t>(0xC0000001));
    EXPECT_EQ(settings.fullscreen, 1);
    send(platform::msg_keydown, platform::key_f4, 1);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(fake::count("create_window(F4 = toggle fullscreen,sysmenu"), 2);
    EXPECT_EQ(fake::count("unregister_window_class(OWATZIJNWEHEDENBLIJ)"), 2);
    EXPECT_EQ(fake::count("create_window(loading.."), files_before);  // no second probe
    // A capture's window takes Escape and nothing else.
    window_state.unattended = true;
    send(platform::msg_keydown, platform::key_f4, 1);
    send(platform::msg_keydown, platform::key_escape, 1);
    window_state.unattended = false;
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(fake::count("post_quit_message(0)"), 1);
}

TEST_F(WindowProc, DraggingWithTheLeftButtonSeeksTheClock) {
    clock_install_system(play.clock);
    settings.demo_length = 120.0f;
    window_state.timeline_u = 0.5;
    send(platform::msg_mousemove, 0, 10);
    EXPECT_FLOAT_EQ(play.clock.demo_time, 0.0f);
    send(platform::msg_mousemove, platform::mk_lbutton, 10);
    EXPECT_FLOAT_EQ(play.clock.demo_time, 60.0f);
}

// A drag that leaves the timeline holds its first or last column, as a scrub
// bar does; paused, a click picks the first frame whose playhead stands in
// the column clicked.
TEST_F(WindowProc, TheTimelinePointerStaysOnTheBar) {
    clock_install_system(play.clock);
    settings.demo_length = 150.0f;
    settings.debug_timeline = 1;
    window_state.debug_window = window_state.main_window + 1;
    auto drag_to = [&](int x) {
        window_proc(window_state.debug_window, platform::msg_mousemove, platform::mk_lbutton,
                    static_cast<std::uint16_t>(x));
    };
    drag_to(-18);  // left of the window, in the low 16 bits
    EXPECT_FLOAT_EQ(play.clock.demo_time, 0.0f);
    drag_to(700);
    EXPECT_FLOAT_EQ(play.clock.demo_time, 150.0f * 511 / 512);
    timeline_pause() = TimelinePause{true, 0, false};
    for (int x : {-3, 1, 7, 255, 256, 510, 600}) {
        drag_to(x);
        long long f = timeline_pause().frame;
        int column = std::clamp(x, 0, 511);
        EXPECT_EQ(timeline_column(static_cast<float>(f / 60.0), 150.0), column) << x;
        if (f > 0) {
            EXPECT_EQ(timeline_column(static_cast<float>((f - 1) / 60.0), 150.0), column - 1) << x;
        }
    }
    timeline_pause() = TimelinePause{};
    window_state.debug_window = 0;
    settings.debug_timeline = 0;
}

// With the timeline on, Space holds the demo at the frame of the grid it
// was at; the keys and the timeline then pick frames and leave the clock
// alone. Without the timeline the keys do nothing.
TEST_F(WindowProc, PausedTimelineKeysPickFramesOfTheGrid) {
    clock_install_system(play.clock);
    settings.demo_length = 120.0f;
    timeline_pause() = TimelinePause{};
    auto press = [&](std::uintptr_t key, bool shift = false, std::intptr_t lparam = 1) {
        fake::state.shift = shift;
        send(platform::msg_keydown, key, lparam);
        send(platform::msg_keyup, key, static_cast<std::intptr_t>(0xC0000001));
    };
    clock_seek(play.clock, 10.0f);
    press(platform::key_space);
    EXPECT_FALSE(timeline_pause().paused);  // the timeline is off
    settings.debug_timeline = 1;
    press(platform::key_right);
    EXPECT_EQ(timeline_pause().frame, 0);  // not paused: no step
    press(platform::key_space);
    ASSERT_TRUE(timeline_pause().paused);
    EXPECT_EQ(timeline_pause().frame, 600);
    EXPECT_TRUE(timeline_pause().live);
    press(platform::key_space, false, (1 << 30) | 1);  // an auto-repeat does not let go
    EXPECT_TRUE(timeline_pause().paused);
    press(platform::key_right);
    press(platform::key_right, false, (1 << 30) | 1);  // a held arrow walks on
    press(platform::key_left);
    EXPECT_EQ(timeline_pause().frame, 601);
    EXPECT_FALSE(timeline_pause().live);
    press(platform::key_right, true);  // 601 shows beat 25.38: on to the first frame of beat 26
    EXPECT_EQ(timeline_pause().frame, 616);
    press(platform::key_left, true);
    EXPECT_EQ(timeline_pause().frame, 593);
    send(platform::msg_mousemove, platform::mk_lbutton, 10);  // timeline_u 0.5: 60 s
    EXPECT_EQ(timeline_pause().frame, 3600);
    EXPECT_FLOAT_EQ(play.clock.demo_time, 10.0f);  // the clock stays where it was held
    press(platform::key_home);
    press(platform::key_left);
    EXPECT_EQ(timeline_pause().frame, 0);
    press(platform::key_space);
    EXPECT_FALSE(timeline_pause().paused);
    settings.debug_timeline = 0;
}

// Beat steps land on the first frame of each beat, on and back, without
// sticking to a frame or drifting off the beats.
TEST(BeatStep, WalksFromBeatToBeatBothWays) {
    auto beat_of = [](long long frame) { return static_cast<long long>(std::floor(frame * beats_per_second / 60)); };
    std::vector<long long> frames{0};
    for (long long k = 1; k <= 400; ++k) {
        long long frame = beat_step(frames.back(), 1);
        ASSERT_EQ(beat_of(frame), k) << "step " << k;
        ASSERT_EQ(beat_of(frame - 1), k - 1) << "step " << k;
        frames.push_back(frame);
    }
    for (std::size_t i = frames.size() - 1; i > 0; --i) ASSERT_EQ(beat_step(frames[i], -1), frames[i - 1]);
    EXPECT_EQ(beat_step(0, -1), 0);
    EXPECT_EQ(beat_step(frames[7] + 3, -1), frames[7]);  // from inside a beat back to its start
}

}  // namespace

namespace {

class FullscreenToggle : public Window {};

TEST_F(FullscreenToggle, FailedNewModeFallsBackToThePreviousOne) {
    ASSERT_EQ(window_setup(1), 0);
    int created = fake::count("create_window(");
    fake::script("create_window", {0});  // fullscreen cannot be made
    EXPECT_EQ(window_setup(0), window_no_window);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(fake::count("create_window(") - created, 2);
    EXPECT_EQ(fake::count("create_window(F4 = toggle fullscreen,sysmenu"), 2);
    EXPECT_NE(window_state.main_window, 0u);
    EXPECT_NE(window_state.main_context, 0u);
    EXPECT_EQ(fake::count("post_quit_message"), 0);
}

TEST_F(FullscreenToggle, WhenNeitherModeCanBeMadeTheDemoQuits) {
    ASSERT_EQ(window_setup(1), 0);
    fake::script("create_gl_context", {0, 0});
    EXPECT_EQ(window_setup(0), window_no_window);
    EXPECT_EQ(fake::count("post_quit_message(0)"), 1);
    EXPECT_EQ(window_state.main_window, 0u);
    EXPECT_EQ(window_state.main_context, 0u);
    // Nothing is left registered behind.
    int last_register = -1, last_unregister = -1;
    for (int i = 0; i < static_cast<int>(fake::state.calls.size()); ++i) {
        if (fake::state.calls[i] == "register_window_class(OWATZIJNWEHEDENBLIJ)") last_register = i;
        if (fake::state.calls[i] == "unregister_window_class(OWATZIJNWEHEDENBLIJ)") last_unregister = i;
    }
    EXPECT_GT(last_unregister, last_register);
}

}  // namespace
