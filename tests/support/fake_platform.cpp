#include "fake_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "gl/glext.h"
#include "platform/wgl.h"

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

void wait_message(int timeout_ms) {
    record("wait_message(" + std::to_string(timeout_ms) + ")");
    state.clock_ms += timeout_ms;
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

bool shift_held() { return state.shift; }

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
long long process_id() { return 4242; }
void on_display_lost(DisplayLost) {}

bool register_window_class(const char* class_name, WindowProc proc, ClassIcon icon) {
    record(std::string("register_window_class(") + class_name + (icon == ClassIcon::winlogo ? ",winlogo" : "") + ")");
    if (result("register_window_class", 1) == 0) return false;
    fake::classes[class_name] = proc;
    return true;
}

bool unregister_window_class(const char* class_name) {
    record(std::string("unregister_window_class(") + class_name + ")");
    fake::classes.erase(class_name);
    return result("unregister_window_class", 1) != 0;
}

Handle create_window(const WindowRequest& request) {
    const char* style = request.style == WindowStyle::popup     ? "popup"
                        : request.style == WindowStyle::sysmenu ? "sysmenu"
                                                             : "overlapped";
    record(std::string("create_window(") + request.caption + "," + style +
           "," + std::to_string(request.x) + "," + std::to_string(request.y) + "," + std::to_string(request.width) + "," +
           std::to_string(request.height) + ")");
    // Every window gets a handle of its own: 0x1001, 0x1002, ...
    return static_cast<Handle>(result("create_window", 0x1001 + fake::count("create_window(") - 1));
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
std::string display_problem() { return state.display_problem; }
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

bool share_gl_lists(Handle source, Handle target) {
    record("share_gl_lists(" + hex(source) + "," + hex(target) + ")");
    return result("share_gl_lists", 1) != 0;
}

void move_window(Handle window, int x, int y, int width, int height) {
    record("move_window(" + hex(window) + "," + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(width) + "," + std::to_string(height) + ")");
}

void show_window_normal(Handle window) { record("show_window_normal(" + hex(window) + ")"); }
void set_focus(Handle window) { record("set_focus(" + hex(window) + ")"); }
bool window_shown(Handle window) { return result("window_shown", window != 0) != 0; }
bool set_swap_interval(Handle dc, int interval) {
    record("set_swap_interval(" + hex(dc) + "," + std::to_string(interval) + ")");
    return result("set_swap_interval", 1) != 0;
}
bool select_gl(GlKind kind, std::string* problem) {
    if (kind == GlKind::desktop) return true;
    *problem = "the fake platform has no OpenGL ES";
    return false;
}

Handle current_dc() { return static_cast<Handle>(result("current_dc", 0x2001)); }

Handle create_icon(int width, int height, const std::uint8_t*, const std::uint32_t* color) {
    record("create_icon(" + std::to_string(width) + "," + std::to_string(height) + ")");
    state.icon_colours.emplace_back(color, color + width * height);
    return static_cast<Handle>(result("create_icon", 0x5001));
}

void set_window_icon(Handle window, IconSize size, Handle icon) {
    record("set_window_icon(" + hex(window) + "," + (size == IconSize::small ? "small" : "big") + "," + hex(icon) +
           ")");
}

void blit_bitmap(Handle dc, const std::uint32_t*, int width, int height) {
    record("blit_bitmap(" + hex(dc) + "," + std::to_string(width) + "," + std::to_string(height) + ")");
}

bool swap_buffers(Handle dc) {
    record("swap_buffers(" + hex(dc) + ")");
    if (state.on_swap) state.on_swap();
    return true;
}

}  // namespace platform

// A fake driver's WGL entry points: they record their calls and answer from
// the state's settings. They use the slots' calling convention: on 32-bit
// Windows a cdecl function called through a __stdcall slot leaves its
// arguments on the stack.
namespace fake {
namespace {

int HEDEN_GLAPI choose_pixel_format_arb(void* dc, const int*, const float*, unsigned, int* format, unsigned* count) {
    record("wglChoosePixelFormatARB(" + hex(reinterpret_cast<std::uintptr_t>(dc)) + ")");
    *format = state.choose_format;
    *count = static_cast<unsigned>(state.choose_format_count);
    return state.choose_format_result;
}

void* HEDEN_GLAPI create_pbuffer(void*, int format, int width, int height, const int*) {
    record("wglCreatePbufferARB(" + std::to_string(format) + "," + std::to_string(width) + "," +
           std::to_string(height) + ")");
    return reinterpret_cast<void*>(result("wglCreatePbufferARB", 0x7001));
}

void* HEDEN_GLAPI get_pbuffer_dc(void* pbuffer) {
    record("wglGetPbufferDCARB(" + hex(reinterpret_cast<std::uintptr_t>(pbuffer)) + ")");
    return reinterpret_cast<void*>(result("wglGetPbufferDCARB", 0x8001));
}

int HEDEN_GLAPI release_pbuffer_dc(void* pbuffer, void* dc) {
    record("wglReleasePbufferDCARB(" + hex(reinterpret_cast<std::uintptr_t>(pbuffer)) + "," +
           hex(reinterpret_cast<std::uintptr_t>(dc)) + ")");
    return static_cast<int>(result("wglReleasePbufferDCARB", 1));
}

int HEDEN_GLAPI destroy_pbuffer(void* pbuffer) {
    record("wglDestroyPbufferARB(" + hex(reinterpret_cast<std::uintptr_t>(pbuffer)) + ")");
    return static_cast<int>(result("wglDestroyPbufferARB", 1));
}

int HEDEN_GLAPI query_pbuffer(void*, int attribute, int* value) {
    int granted = attribute == wgl::pbuffer_width ? state.pbuffer_granted_width : state.pbuffer_granted_height;
    if (granted) *value = granted;
    return 1;
}

int HEDEN_GLAPI answer_true(void*, int) { return 1; }

// The shader calls of start-up and the frames: objects are numbered, every
// compile and link succeeds, programs in use are recorded.
ext::Handle next_object = 0x9001;
ext::Handle HEDEN_GLAPI create_shader(GLenum) { return next_object++; }
ext::Handle HEDEN_GLAPI create_program() { return next_object++; }
void HEDEN_GLAPI shader_source(ext::Handle, GLsizei, const char**, const GLint*) {}
void HEDEN_GLAPI one_object(ext::Handle) {}
void HEDEN_GLAPI attach(ext::Handle, ext::Handle) {}
void HEDEN_GLAPI object_parameter(ext::Handle, GLenum, GLint* value) { *value = 1; }
GLint HEDEN_GLAPI uniform_location(ext::Handle, const char*) { return 0; }
void HEDEN_GLAPI use_program(ext::Handle program) { record("glUseProgramObjectARB(" + hex(program) + ")"); }
void HEDEN_GLAPI uniform_1f(GLint, GLfloat) {}

// Any address will do for entry points the tests never call.
char never_called[64];

}  // namespace
}  // namespace fake

namespace platform {

GlOffer gl_offer() { return fake::state.offer; }

void* gl_proc_address(const char* name) {
    const auto& missing = fake::state.missing_entry_points;
    if (std::find(missing.begin(), missing.end(), name) != missing.end()) return nullptr;
    struct Known {
        const char* name;
        void* address;
    } known[] = {
        {"wglChoosePixelFormatARB", reinterpret_cast<void*>(fake::choose_pixel_format_arb)},
        {"wglCreatePbufferARB", reinterpret_cast<void*>(fake::create_pbuffer)},
        {"wglGetPbufferDCARB", reinterpret_cast<void*>(fake::get_pbuffer_dc)},
        {"wglReleasePbufferDCARB", reinterpret_cast<void*>(fake::release_pbuffer_dc)},
        {"wglDestroyPbufferARB", reinterpret_cast<void*>(fake::destroy_pbuffer)},
        {"wglQueryPbufferARB", reinterpret_cast<void*>(fake::query_pbuffer)},
        {"wglBindTexImageARB", reinterpret_cast<void*>(fake::answer_true)},
        {"wglReleaseTexImageARB", reinterpret_cast<void*>(fake::answer_true)},
        {"glCreateShaderObjectARB", reinterpret_cast<void*>(fake::create_shader)},
        {"glShaderSourceARB", reinterpret_cast<void*>(fake::shader_source)},
        {"glCompileShaderARB", reinterpret_cast<void*>(fake::one_object)},
        {"glCreateProgramObjectARB", reinterpret_cast<void*>(fake::create_program)},
        {"glAttachObjectARB", reinterpret_cast<void*>(fake::attach)},
        {"glLinkProgramARB", reinterpret_cast<void*>(fake::one_object)},
        {"glGetObjectParameterivARB", reinterpret_cast<void*>(fake::object_parameter)},
        {"glGetUniformLocationARB", reinterpret_cast<void*>(fake::uniform_location)},
        {"glUseProgramObjectARB", reinterpret_cast<void*>(fake::use_program)},
        {"glUniform1fARB", reinterpret_cast<void*>(fake::uniform_1f)},
    };
    for (const Known& k : known)
        if (std::strcmp(k.name, name) == 0) return k.address;
    return fake::never_called + (std::strlen(name) % 64);
}

}  // namespace platform
