#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_state.h"

namespace {

// Icons made by create_icon and not destroyed yet. Every window creation
// makes two, so each is destroyed when its window lets go of it.
std::vector<HICON> made;

void release(HICON icon) {
    auto found = std::find(made.begin(), made.end(), icon);
    if (found == made.end()) return;
    made.erase(found);
    DestroyIcon(icon);
}

HICON attach(HWND window, WPARAM which, HICON icon) {
    return reinterpret_cast<HICON>(SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
}

}  // namespace

void win32::release_window_icons(HWND window) {
    release(attach(window, ICON_SMALL, nullptr));
    release(attach(window, ICON_BIG, nullptr));
}

namespace platform {

Handle create_icon(int width, int height, const std::uint8_t* and_mask, const std::uint32_t* color) {
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), width, height, 1, 32, and_mask,
                            reinterpret_cast<const BYTE*>(color));
    if (icon) made.push_back(icon);
    return reinterpret_cast<Handle>(icon);
}

void set_window_icon(Handle window, IconSize size, Handle icon) {
    release(attach(reinterpret_cast<HWND>(window), size == IconSize::small ? ICON_SMALL : ICON_BIG,
                   reinterpret_cast<HICON>(icon)));
}

void blit_bitmap(Handle dc, const std::uint32_t* pixels, int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    SetDIBitsToDevice(reinterpret_cast<HDC>(dc), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels, reinterpret_cast<const BITMAPINFO*>(&header),
                      DIB_RGB_COLORS);
}

}  // namespace platform
