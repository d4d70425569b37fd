// Windows and GL while ES is selected: the shared ES pictures (platform/es/)
// on an EGL context, with the window procedures of the x11 classes.
#include "platform/x11/headless.h"

#include "gles/gles.h"
#include "platform/es/pictures.h"
#include "platform/x11/x11_state.h"

namespace x11::headless {

bool selected() { return es_pictures::selected(); }

bool select(std::string* problem) {
    if (es_pictures::selected()) return true;
    if (!egl_start(problem) || !gles::start(egl_proc_address, problem)) return false;
    es_pictures::note_selected();
    return true;
}

platform::Handle create_window(const platform::WindowRequest& request) {
    return es_pictures::create_window(request, class_proc(request.class_name));
}

// Always "shown": the picture is drawn for the capture, not for a screen.
bool window_shown(platform::Handle window) { return es_pictures::window_exists(window); }

// The picture stays in its target, where the capture reads it.
bool swap_buffers(platform::Handle dc) { return es_pictures::dc_exists(dc); }

}  // namespace x11::headless

namespace platform {

bool select_gl(GlKind kind, std::string* problem) {
    if (kind == GlKind::desktop) return !x11::headless::selected();
    return x11::headless::select(problem);
}

}  // namespace platform
