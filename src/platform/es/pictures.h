// Windows, device contexts, GL contexts and pbuffers where every picture is
// a render target of the GL library (src/gles/) and every context one of its
// contexts: the window system of a backend that draws with OpenGL ES (x11's
// --gl es with no X server, the browser's WebGL). The backend brings up the
// ES context and the library, then hands its window and GL calls here.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace gles {
struct Target;
}

namespace es_pictures {

// Whether the backend's ES context and the library are up (noted by the
// backend once gles::start succeeded).
bool selected();
void note_selected();

// A window whose messages go to `proc`; 0 without a procedure.
platform::Handle create_window(const platform::WindowRequest& request, platform::WindowProc proc);
bool destroy_window(platform::Handle window);
platform::Size client_size(platform::Handle window);
bool window_exists(platform::Handle window);
std::intptr_t dispatch_message(const platform::Message& msg);

platform::Handle get_dc(platform::Handle window);
bool release_dc(platform::Handle window, platform::Handle dc);
int choose_pixel_format(platform::Handle dc);
bool set_pixel_format(platform::Handle dc, int format);
platform::Handle create_gl_context(platform::Handle dc);
bool make_gl_current(platform::Handle dc, platform::Handle context);
bool delete_gl_context(platform::Handle context);
// The picture of a window's DC (null for a pbuffer's or an unknown DC, and
// before the window's pixel format is set).
const gles::Target* window_picture(platform::Handle dc);
bool dc_exists(platform::Handle dc);
platform::Handle current_dc();
platform::GlOffer gl_offer();
// The library's entry points and the WGL ones over its render targets.
void* gl_proc_address(const char* name);

}  // namespace es_pictures
