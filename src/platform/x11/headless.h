// `--gl es` on Linux: OpenGL ES through EGL with no window system. Windows
// are off-screen pictures (render targets of the GL library), pbuffers are
// render targets too, and contexts are the library's. The x11 backend's
// window and GL calls hand over to these while ES is selected.
#pragma once

#include <cstdint>
#include <string>

#include "platform/es/pictures.h"
#include "platform/platform.h"

namespace x11::headless {

// Whether ES was selected (and came up).
bool selected();

// Brings up EGL and the library; false with the reason.
bool select(std::string* problem);

platform::Handle create_window(const platform::WindowRequest& request);
bool window_shown(platform::Handle window);
bool swap_buffers(platform::Handle dc);
// The rest is the shared ES pictures' as it is.
using es_pictures::choose_pixel_format;
using es_pictures::client_size;
using es_pictures::create_gl_context;
using es_pictures::current_dc;
using es_pictures::delete_gl_context;
using es_pictures::destroy_window;
using es_pictures::dispatch_message;
using es_pictures::get_dc;
using es_pictures::gl_offer;
using es_pictures::gl_proc_address;
using es_pictures::make_gl_current;
using es_pictures::release_dc;
using es_pictures::set_pixel_format;

// The EGL part: a display without a window system and one ES context made
// current on it; false with the reason.
bool egl_start(std::string* problem);
// An EGL or GL entry point of the ES driver.
void* egl_proc_address(const char* name);

}  // namespace x11::headless
