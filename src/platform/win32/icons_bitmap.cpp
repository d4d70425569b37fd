#include <windows.h>

#include "platform/platform.h"

namespace platform {

Handle create_icon(int width, int height, const std::uint8_t* and_mask, const std::uint32_t* color) {
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), width, height, 1, 32, and_mask,
                            reinterpret_cast<const BYTE*>(color));
    return reinterpret_cast<Handle>(icon);
}

void set_window_icon(Handle window, IconSize size, Handle icon) {
    SendMessageA(reinterpret_cast<HWND>(window), WM_SETICON, size == IconSize::small ? ICON_SMALL : ICON_BIG,
                 static_cast<LPARAM>(icon));
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
