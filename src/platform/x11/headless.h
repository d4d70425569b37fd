// `--gl es` on Linux: OpenGL ES through EGL with no window system. Windows
// are off-screen pictures (render targets of the GL library), pbuffers are
// render targets too, and contexts are the library's. The x11 backend's
// window and GL calls hand over to these while ES is selected.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace x11::headless {

// Whether ES was selected (and came up).
bool selected();

// Brings up EGL and the library; false with the reason.
bool select(std::string* problem);

platform::Handle create_window(const platform::WindowRequest& request);
bool destroy_window(platform::Handle window);
platform::Size client_size(platform::Handle window);
bool window_shown(platform::Handle window);
std::intptr_t dispatch_message(const platform::Message& msg);

platform::Handle get_dc(platform::Handle window);
bool release_dc(platform::Handle window, platform::Handle dc);
int choose_pixel_format(platform::Handle dc);
bool set_pixel_format(platform::Handle dc, int format);
platform::Handle create_gl_context(platform::Handle dc);
bool make_gl_current(platform::Handle dc, platform::Handle context);
bool delete_gl_context(platform::Handle context);
bool swap_buffers(platform::Handle dc);
platform::Handle current_dc();
platform::GlOffer gl_offer();
void* gl_proc_address(const char* name);

// The EGL part: a display without a window system and one ES context made
// current on it; false with the reason.
bool egl_start(std::string* problem);
// An EGL or GL entry point of the ES driver.
void* egl_proc_address(const char* name);

}  // namespace x11::headless
