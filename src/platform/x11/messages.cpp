// The thread's message queue and the registered window classes. No window
// exists yet on this backend, so only the quit message ever travels.
#include <deque>
#include <map>
#include <string>

#include "platform/platform.h"

namespace {
std::deque<platform::Message> queue;
std::map<std::string, platform::WindowProc> classes;
}  // namespace

namespace platform {

bool register_window_class(const char* class_name, WindowProc proc) {
    return classes.emplace(class_name, proc).second;
}

bool unregister_window_class(const char* class_name) { return classes.erase(class_name) == 1; }

bool peek_message(Message* out) {
    if (queue.empty()) return false;
    *out = queue.front();
    queue.pop_front();
    return true;
}

void translate_message(const Message&) {}

std::intptr_t dispatch_message(const Message&) { return 0; }

void post_quit_message(int exit_code) {
    queue.push_back(Message{0, msg_quit, static_cast<std::uintptr_t>(exit_code), 0});
}

std::intptr_t default_window_proc(Handle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

}  // namespace platform
