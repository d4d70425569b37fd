#include "window/window_proc.h"

#include "clock/clock.h"
#include "window/debug_window.h"
#include "window/window.h"

namespace {

constexpr std::intptr_t key_was_down = 1 << 30;  // lParam bit 30: an auto-repeat

void mouse_x_to_timeline(std::intptr_t lparam) {
    unsigned x = static_cast<unsigned>(lparam) & 0xFFFF;
    window_state.timeline_u = x / static_cast<double>(timeline_width);
}

void key(std::uint32_t message, std::uintptr_t code, std::intptr_t lparam) {
    if (code == platform::key_escape) platform::post_quit_message(0);
    // One toggle per press: not on the release, not on auto-repeats.
    if (code == platform::key_f4 && message == platform::msg_keydown && !(lparam & key_was_down)) window_setup(0);
}

}  // namespace

void timeline_scrub() {
    float t = static_cast<float>(clock_length() * window_state.timeline_u);
    if (t < 0) t = 0;
    ClockOps.clock_seek(t);
}

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) {
    bool from_debug_window = window_state.debug_window != 0 && window == window_state.debug_window;
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
            window_state.hdr_level_request = static_cast<float>(window_state.timeline_u);
            break;
        default:
            break;
    }
    return platform::default_window_proc(window, message, wparam, lparam);
}
