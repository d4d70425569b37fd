#include "window/window_proc.h"

#include "clock/clock.h"
#include "window/window.h"

double timeline_u = 0.5;

void timeline_scrub() {
    float t = static_cast<float>(demo_length * timeline_u);
    if (t < 0) t = 0;
    ClockOps.clock_seek(t);
}

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) {
    switch (message) {
        case platform::msg_close:
            platform::post_quit_message(0);
            return 0;
        case platform::msg_keydown:
        case platform::msg_keyup:
            if (wparam == platform::key_escape) platform::post_quit_message(0);
            if (wparam == platform::key_f4) window_setup(0);
            break;
        case platform::msg_mousemove:
            if (wparam & platform::mk_lbutton) timeline_scrub();
            break;
        default:
            break;
    }
    return platform::default_window_proc(window, message, wparam, lparam);
}
