// What the win32 backend's files share.
#pragma once

#include <windows.h>

namespace win32 {

// Detaches the icons of a window that is about to be destroyed and destroys
// those the backend made (the class's stock icon is not ours to destroy).
void release_window_icons(HWND window);

}  // namespace win32
