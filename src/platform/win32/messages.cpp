#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool peek_message(Message* out) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    *out = Message{reinterpret_cast<Handle>(msg.hwnd), msg.message, msg.wParam, msg.lParam};
    return true;
}

void wait_message(int timeout_ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout_ms), QS_ALLINPUT);
}

namespace {
MSG to_msg(const Message& m) {
    MSG msg{};
    msg.hwnd = reinterpret_cast<HWND>(m.window);
    msg.message = m.message;
    msg.wParam = m.wparam;
    msg.lParam = m.lparam;
    return msg;
}
}  // namespace

void translate_message(const Message& m) {
    MSG msg = to_msg(m);
    TranslateMessage(&msg);
}

std::intptr_t dispatch_message(const Message& m) {
    MSG msg = to_msg(m);
    return DispatchMessageA(&msg);
}

void post_quit_message(int exit_code) { PostQuitMessage(exit_code); }

// The key state as of the message being handled, not of the keyboard now.
bool shift_held() { return GetKeyState(VK_SHIFT) < 0; }

std::intptr_t default_window_proc(Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    return DefWindowProcA(reinterpret_cast<HWND>(window), message, wparam, lparam);
}

}  // namespace platform
