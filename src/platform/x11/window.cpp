// Windows and GL contexts. This backend does not open an X display yet:
// window creation reports failure, so the program takes its fatal start-up
// path with its own messages.
#include "platform/platform.h"

namespace platform {

Handle create_window(const WindowSpec&) { return 0; }
bool destroy_window(Handle) { return false; }
Size client_size(Handle) { return Size{}; }
void resize_window(Handle, int, int) {}
void set_window_title(Handle, const char*) {}
void show_window(Handle) {}
void show_cursor(bool) {}
Size screen_size() { return Size{}; }
int change_display_mode(const DisplayMode&) { return -1; }
void restore_display_mode() {}
int last_error() { return 0; }
Handle get_dc(Handle) { return 0; }
bool release_dc(Handle, Handle) { return false; }
int choose_pixel_format(Handle, const PixelFormatRequest&) { return 0; }
bool set_pixel_format(Handle, int, const PixelFormatRequest&) { return false; }
Handle create_gl_context(Handle) { return 0; }
bool make_gl_current(Handle, Handle) { return false; }
bool delete_gl_context(Handle) { return false; }
bool swap_buffers(Handle) { return false; }

}  // namespace platform
