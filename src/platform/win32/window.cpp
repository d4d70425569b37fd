#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_state.h"

namespace {

HWND hwnd(platform::Handle h) { return reinterpret_cast<HWND>(h); }

// The portable window procedure, reached through a Win32-typed trampoline.
platform::WindowProc class_proc = nullptr;

LRESULT CALLBACK trampoline(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (class_proc) return class_proc(reinterpret_cast<platform::Handle>(window), message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

namespace platform {

bool register_window_class(const char* class_name, WindowProc proc, ClassIcon icon) {
    class_proc = proc;
    WNDCLASSA wc{};
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = trampoline;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(icon == ClassIcon::winlogo ? IDI_WINLOGO : IDI_APPLICATION));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(5);
    wc.lpszClassName = class_name;
    return RegisterClassA(&wc) != 0;
}

bool unregister_window_class(const char* class_name) {
    return UnregisterClassA(class_name, GetModuleHandleA(nullptr)) != 0;
}

Handle create_window(const WindowRequest& request) {
    DWORD style = request.style == WindowStyle::popup     ? WS_POPUP
                  : request.style == WindowStyle::sysmenu ? WS_SYSMENU
                                                       : 0;
    HWND window = CreateWindowExA(0, request.class_name, request.caption, style, request.x, request.y, request.width, request.height,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return reinterpret_cast<Handle>(window);
}

bool destroy_window(Handle window) {
    win32::release_window_icons(hwnd(window));
    return DestroyWindow(hwnd(window)) != 0;
}

Size client_size(Handle window) {
    RECT r{};
    GetClientRect(hwnd(window), &r);
    return Size{r.right - r.left, r.bottom - r.top};
}

void resize_window(Handle window, int width, int height) {
    SetWindowPos(hwnd(window), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOOWNERZORDER);
}

void move_window(Handle window, int x, int y, int width, int height) {
    MoveWindow(hwnd(window), x, y, width, height, TRUE);
}

void set_window_title(Handle window, const char* title) { SetWindowTextA(hwnd(window), title); }

void show_window(Handle window) {
    ShowWindow(hwnd(window), SW_SHOW);
    SetForegroundWindow(hwnd(window));
    SetFocus(hwnd(window));
}

void show_window_normal(Handle window) {
    ShowWindow(hwnd(window), SW_SHOWNORMAL);
    UpdateWindow(hwnd(window));
}

void set_focus(Handle window) { SetFocus(hwnd(window)); }

std::string display_problem() { return ""; }

bool window_shown(Handle window) { return IsWindowVisible(hwnd(window)) && !IsIconic(hwnd(window)); }

// ShowCursor counts: the cursor shows while the count is 0 or more. Starting
// windowed leaves it at 1, so one ShowCursor(FALSE) on the way to fullscreen
// would still show it there. The count is set to exactly 0 (shown) or -1
// (hidden), whatever it was: one step, then back or on as far as needed.
void show_cursor(bool visible) {
    int target = visible ? 0 : -1;
    int count = ShowCursor(visible ? TRUE : FALSE);
    for (int step = 0; step < 1024 && count > target; ++step) count = ShowCursor(FALSE);
    for (int step = 0; step < 1024 && count < target; ++step) count = ShowCursor(TRUE);
}

Size screen_size() { return Size{GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)}; }

int change_display_mode(const DisplayMode& mode) {
    DEVMODEA dm{};
    dm.dmSize = sizeof dm;
    dm.dmPelsWidth = static_cast<DWORD>(mode.width);
    dm.dmPelsHeight = static_cast<DWORD>(mode.height);
    dm.dmBitsPerPel = static_cast<DWORD>(mode.bits_per_pixel);
    dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    return ChangeDisplaySettingsA(&dm, CDS_FULLSCREEN);
}

void restore_display_mode() { ChangeDisplaySettingsA(nullptr, 0); }

int last_error() { return static_cast<int>(GetLastError()); }

}  // namespace platform
