// The message queue: the page's DOM events (keys on the page, the mouse on
// the timeline strip, the page closing) arrive through the exported
// heden_web_* functions as the Win32 message records; posted messages come
// first.
#include <emscripten.h>

#include <deque>

#include "platform/es/pictures.h"
#include "platform/web/web_state.h"

namespace {

std::deque<platform::Message> posted, events;
bool shift_with_last_key = false;

std::intptr_t mouse_position(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<unsigned>(y) & 0xFFFF) << 16 | (static_cast<unsigned>(x) & 0xFFFF));
}

}  // namespace

// The page's key handler: the virtual-key code (Win32 numbering), whether it
// is a press, a repeat, and whether Shift was held.
extern "C" EMSCRIPTEN_KEEPALIVE void heden_web_key(int key, int press, int repeat, int shift) {
    platform::Handle window = web::picture_window();
    if (!window) return;
    shift_with_last_key = shift != 0;
    std::intptr_t state = press ? (repeat ? (1 << 30) | 1 : 1) : static_cast<std::intptr_t>(0xC0000001);
    events.push_back({window, press ? platform::msg_keydown : platform::msg_keyup, static_cast<std::uintptr_t>(key),
                      state});
}

// The mouse on the timeline strip, in its pixels: 0 move (with the left
// button held or not), 1 left button up, 2 right button up.
extern "C" EMSCRIPTEN_KEEPALIVE void heden_web_strip_mouse(int what, int x, int y, int left_held) {
    platform::Handle window = web::strip_window();
    if (!window) return;
    static const std::uint32_t messages[] = {platform::msg_mousemove, platform::msg_lbuttonup, platform::msg_rbuttonup};
    if (what < 0 || what > 2) return;
    std::uintptr_t buttons = what == 0 && left_held ? std::uintptr_t{platform::mk_lbutton} : 0;
    events.push_back({window, messages[what], buttons, mouse_position(x, y)});
}

// The page asks the demo to stop (its stop button, the page going away).
extern "C" EMSCRIPTEN_KEEPALIVE void heden_web_close() {
    if (platform::Handle window = web::picture_window()) events.push_back({window, platform::msg_close, 0, 0});
}

namespace platform {

bool peek_message(Message* out) {
    std::deque<Message>& queue = !posted.empty() ? posted : events;
    if (queue.empty()) return false;
    *out = queue.front();
    queue.pop_front();
    return true;
}

// The page's events arrive while the browser has its turn.
void wait_message(int timeout_ms) {
    if (timeout_ms >= 0) {
        if (posted.empty() && events.empty()) web::yield_ms(timeout_ms);
        return;
    }
    while (posted.empty() && events.empty()) web::yield_frame();
}

void translate_message(const Message&) {}

std::intptr_t dispatch_message(const Message& msg) { return es_pictures::dispatch_message(msg); }

void post_quit_message(int exit_code) {
    posted.push_back(Message{0, msg_quit, static_cast<std::uintptr_t>(exit_code), 0});
}

bool shift_held() { return shift_with_last_key; }

std::intptr_t default_window_proc(Handle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

}  // namespace platform
