#include "window/window_proc.h"

#include <algorithm>
#include <cmath>

#include "clock/clock.h"
#include "config/settings.h"
#include "window/debug_window.h"
#include "window/window.h"

namespace {

constexpr std::intptr_t key_was_down = 1 << 30;  // lParam bit 30: an auto-repeat

// The pointer's column on the timeline. A drag that leaves the window goes
// on reporting, left of it as negative numbers in the low 16 bits: it holds
// the first or the last column, as a scrub bar does.
int timeline_x(std::intptr_t lparam) {
    auto x = static_cast<std::int16_t>(static_cast<std::uint16_t>(lparam & 0xFFFF));
    return std::clamp(static_cast<int>(x), 0, timeline_width - 1);
}

void mouse_x_to_timeline(std::intptr_t lparam) {
    window_state.timeline_u = timeline_x(lparam) / static_cast<double>(timeline_width);
}

TimelinePause pause;

void pick_frame(long long frame) {
    pause.frame = std::max(frame, 0LL);
    pause.live = false;
}

// Space once per press; the steps on every press and auto-repeat, so a key
// held down walks on.
void timeline_key(std::uintptr_t code, bool repeat) {
    if (code == platform::key_space && !repeat) {
        pause.paused = !pause.paused;
        float now = window_state.play ? window_state.play->clock.demo_time : 0.0f;
        if (pause.paused) pause = {true, std::max(frame_at(now, grid_fps), 0LL), true};
        return;
    }
    if (!pause.paused) return;
    if (code == platform::key_home) pick_frame(0);
    if (code != platform::key_left && code != platform::key_right) return;
    int direction = code == platform::key_right ? 1 : -1;
    pick_frame(platform::shift_held() ? beat_step(pause.frame, direction) : pause.frame + direction);
}

void key(std::uint32_t message, std::uintptr_t code, std::intptr_t lparam) {
    if (code == platform::key_escape) platform::post_quit_message(0);
    if (window_state.unattended) return;
    bool press = message == platform::msg_keydown;
    // One toggle per press: not on the release, not on auto-repeats.
    if (code == platform::key_f4 && press && !(lparam & key_was_down)) window_setup(0);
    if (settings.debug_timeline && press) timeline_key(code, lparam & key_was_down);
}

// The first frame at or after the start of beat `k`.
long long beat_first_frame(long long k) {
    return static_cast<long long>(std::ceil(k / beats_per_second * grid_fps - grid_slack));
}

}  // namespace

TimelinePause& timeline_pause() { return pause; }

long long beat_step(long long frame, int direction) {
    auto k = static_cast<long long>(std::floor(frame * beats_per_second / grid_fps));
    if (direction > 0) {
        while (beat_first_frame(k) <= frame) ++k;
        return beat_first_frame(k);
    }
    while (k > 0 && beat_first_frame(k) >= frame) --k;
    return std::min(beat_first_frame(k), frame);
}

// The first frame of the grid whose playhead is in `column`: the frame the
// playhead then shows where it was clicked.
long long first_frame_in_column(int column, double length) {
    auto frame = static_cast<long long>(std::ceil(length * column / timeline_width * grid_fps - grid_slack));
    frame = std::max(frame, 0LL);
    while (timeline_column(static_cast<float>(frame / static_cast<double>(grid_fps)), length) < column) ++frame;
    return frame;
}

void timeline_scrub() {
    if (!window_state.play) return;
    DemoClock& clock = window_state.play->clock;
    double length = clock_length(clock);
    if (pause.paused) {
        pick_frame(first_frame_in_column(static_cast<int>(std::lround(window_state.timeline_u * timeline_width)), length));
        return;
    }
    clock_seek(clock, static_cast<float>(length * window_state.timeline_u));
}

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) {
    bool from_debug_window = window_state.debug_window != 0 && window == window_state.debug_window;
    // Nobody plays with a capture: it lends the windows no play controls, so
    // the mouse moves nothing, and of the keys only Escape, which stops it, is
    // taken.
    switch (message) {
        case platform::msg_close:
            platform::post_quit_message(0);
            return 0;
        case platform::msg_keydown:
        case platform::msg_keyup:
            key(message, wparam, lparam);
            break;
        case platform::msg_mousemove:
            if (from_debug_window) mouse_x_to_timeline(lparam);
            if (wparam & platform::mk_lbutton) timeline_scrub();
            break;
        case platform::msg_lbuttonup:
            if (from_debug_window) {
                mouse_x_to_timeline(lparam);
                timeline_scrub();
            }
            break;
        case platform::msg_rbuttonup:
            if (window_state.play)
                window_state.play->hdr_level_request = static_cast<float>(window_state.timeline_u);
            break;
        default:
            break;
    }
    return platform::default_window_proc(window, message, wparam, lparam);
}
