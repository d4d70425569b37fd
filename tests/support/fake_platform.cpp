#include "fake_platform.h"

#include <cstdio>
#include <map>

namespace fake {

State state;

namespace {

std::map<std::string, std::deque<long long>> scripted;
std::map<std::string, platform::WindowProc> classes;

long long result(const std::string& verb, long long fallback) {
    auto found = scripted.find(verb);
    if (found == scripted.end() || found->second.empty()) return fallback;
    long long value = found->second.front();
    found->second.pop_front();
    return value;
}

std::string hex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

void record(const std::string& call) { state.calls.push_back(call); }

}  // namespace

void reset() {
    state = State{};
    scripted.clear();
    classes.clear();
}

void script(const std::string& verb, std::vector<long long> results) {
    for (long long r : results) scripted[verb].push_back(r);
}

int count(const std::string& prefix) {
    int n = 0;
    for (const std::string& call : state.calls) n += call.rfind(prefix, 0) == 0;
    return n;
}

int find(const std::string& prefix, int from) {
    for (int i = from; i < static_cast<int>(state.calls.size()); ++i)
        if (state.calls[i].rfind(prefix, 0) == 0) return i;
    return -1;
}

}  // namespace fake

namespace platform {

using fake::hex;
using fake::record;
using fake::result;
using fake::state;

bool peek_message(Message* out) {
    if (state.queue.empty()) {
        if (state.idle_polls_left-- > 0) return false;
        state.ran_dry = true;
        *out = Message{0, msg_quit, 0, 0};
        return true;
    }
    std::optional<Message> next = state.queue.front();
    state.queue.pop_front();
    if (!next) return false;
    *out = *next;
    return true;
}

void translate_message(const Message& msg) { record("translate_message(" + hex(msg.message) + ")"); }

std::intptr_t dispatch_message(const Message& msg) {
    record("dispatch_message(" + hex(msg.message) + ")");
    if (fake::classes.empty()) return 0;
    return fake::classes.begin()->second(msg.window, msg.message, msg.wparam, msg.lparam);
}

void post_quit_message(int exit_code) {
    record("post_quit_message(" + std::to_string(exit_code) + ")");
    state.queue.push_back(Message{0, msg_quit, static_cast<std::uintptr_t>(exit_code), 0});
}

std::intptr_t default_window_proc(Handle, std::uint32_t message, std::uintptr_t, std::intptr_t) {
    record("default_window_proc(" + hex(message) + ")");
    return 0;
}

bool console_allocate() {
    record("console_allocate()");
    state.console_allocated = true;
    return result("console_allocate", 1) != 0;
}

bool console_set_title(const char* title) {
    record(std::string("console_set_title(") + title + ")");
    return true;
}

void console_write(const char* text, std::size_t length) {
    if (state.console_allocated) state.console.append(text, length);
}

void message_box(const char* text, const char* caption) {
    record("message_box()");
    state.boxes.emplace_back(text);
    state.captions.emplace_back(caption);
}

long process_clock_ms() { return state.clock_ms; }

bool register_window_class(const char* class_name, WindowProc proc) {
    record(std::string("register_window_class(") + class_name + ")");
    if (result("register_window_class", 1) == 0) return false;
    fake::classes[class_name] = proc;
    return true;
}

bool unregister_window_class(const char* class_name) {
    record(std::string("unregister_window_class(") + class_name + ")");
    fake::classes.erase(class_name);
    return result("unregister_window_class", 1) != 0;
}

Handle create_window(const WindowSpec& spec) {
    record(std::string("create_window(") + spec.caption + "," + (spec.style == WindowStyle::popup ? "popup" : "sysmenu") +
           "," + std::to_string(spec.x) + "," + std::to_string(spec.y) + "," + std::to_string(spec.width) + "," +
           std::to_string(spec.height) + ")");
    return static_cast<Handle>(result("create_window", 0x1001));
}

bool destroy_window(Handle window) {
    record("destroy_window(" + hex(window) + ")");
    return result("destroy_window", 1) != 0;
}

Size client_size(Handle) { return state.client; }

void resize_window(Handle window, int width, int height) {
    record("resize_window(" + hex(window) + "," + std::to_string(width) + "," + std::to_string(height) + ")");
}

void set_window_title(Handle, const char* title) { record(std::string("set_window_title(") + title + ")"); }
void show_window(Handle window) { record("show_window(" + hex(window) + ")"); }
void show_cursor(bool visible) { record(std::string("show_cursor(") + (visible ? "1" : "0") + ")"); }
Size screen_size() { return state.screen; }

int change_display_mode(const DisplayMode& mode) {
    record("change_display_mode(" + std::to_string(mode.width) + "," + std::to_string(mode.height) + "," +
           std::to_string(mode.bits_per_pixel) + ")");
    return static_cast<int>(result("change_display_mode", 0));
}

void restore_display_mode() { record("restore_display_mode()"); }
int last_error() { return static_cast<int>(result("last_error", 0)); }

Handle get_dc(Handle window) {
    record("get_dc(" + hex(window) + ")");
    return static_cast<Handle>(result("get_dc", 0x2001));
}

bool release_dc(Handle window, Handle dc) {
    record("release_dc(" + hex(window) + "," + hex(dc) + ")");
    return result("release_dc", 1) != 0;
}

int choose_pixel_format(Handle dc, const PixelFormatRequest& request) {
    record("choose_pixel_format(" + hex(dc) + "," + std::to_string(request.color_bits) + "," +
           std::to_string(request.depth_bits) + "," + std::to_string(request.stencil_bits) + ")");
    return static_cast<int>(result("choose_pixel_format", 7));
}

bool set_pixel_format(Handle dc, int format, const PixelFormatRequest&) {
    record("set_pixel_format(" + hex(dc) + "," + std::to_string(format) + ")");
    return result("set_pixel_format", 1) != 0;
}

Handle create_gl_context(Handle dc) {
    record("create_gl_context(" + hex(dc) + ")");
    return static_cast<Handle>(result("create_gl_context", 0x3001));
}

bool make_gl_current(Handle dc, Handle context) {
    record("make_gl_current(" + hex(dc) + "," + hex(context) + ")");
    return result("make_gl_current", 1) != 0;
}

bool delete_gl_context(Handle context) {
    record("delete_gl_context(" + hex(context) + ")");
    return result("delete_gl_context", 1) != 0;
}

bool swap_buffers(Handle dc) {
    record("swap_buffers(" + hex(dc) + ")");
    return true;
}

}  // namespace platform
