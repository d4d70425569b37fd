// GL in the page: one WebGL 2 context on the canvas, the GL library drawing
// the demo's GL 1.x on it, and the shared ES pictures as windows, DCs,
// contexts and pbuffers. A swap shows the window's picture on the canvas
// and gives the browser its turn until the next animation frame.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "gles/gles.h"
#include "platform/es/pictures.h"
#include "platform/web/web_gl.h"
#include "platform/web/web_state.h"

namespace {

std::string problem;

void* webgl_address(const char* name) { return emscripten_webgl_get_proc_address(name); }

bool context_make() {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    // The demo draws into framebuffer objects with their own depth and
    // stencil; the canvas only receives the finished picture, kept for
    // screenshots between frames.
    attributes.majorVersion = 2;
    attributes.alpha = false;
    attributes.depth = false;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = true;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#picture", &attributes);
    if (context <= 0) {
        problem = "the browser offers no WebGL 2 on the page's canvas";
        return false;
    }
    emscripten_webgl_make_context_current(context);
    return true;
}

}  // namespace

namespace web {

bool gl_start() {
    if (es_pictures::selected()) return true;
    if (!problem.empty() || !context_make()) return false;
    if (!gles::start(webgl_address, &problem)) return false;
    es_pictures::note_selected();
    return true;
}

std::string gl_problem() { return problem; }

}  // namespace web

namespace platform {

// The page has WebGL only: what a desktop driver would draw is drawn by the
// GL library from the start.
bool select_gl(GlKind kind, std::string* why) {
    if (kind == GlKind::es) return true;
    *why = "a browser has no desktop GL";
    return false;
}

Handle get_dc(Handle window) { return es_pictures::get_dc(window); }
bool release_dc(Handle window, Handle dc) { return es_pictures::release_dc(window, dc); }
int choose_pixel_format(Handle dc, const PixelFormatRequest&) { return es_pictures::choose_pixel_format(dc); }
bool set_pixel_format(Handle dc, int format, const PixelFormatRequest&) {
    return es_pictures::set_pixel_format(dc, format);
}
Handle create_gl_context(Handle dc) { return es_pictures::create_gl_context(dc); }
bool make_gl_current(Handle dc, Handle context) { return es_pictures::make_gl_current(dc, context); }
bool delete_gl_context(Handle context) { return es_pictures::delete_gl_context(context); }
// Every context shares the library's objects.
bool share_gl_lists(Handle source, Handle target) { return source && target; }

bool swap_buffers(Handle dc) {
    const gles::Target* picture = es_pictures::window_picture(dc);
    if (!picture) return es_pictures::dc_exists(dc);
    bool shown = gles::target_show(picture, gles::target_width(picture), gles::target_height(picture));
    EM_ASM({ Module.heden.frameShown(); });
    web::yield_frame();
    return shown;
}

// The browser paces the frames (requestAnimationFrame) whatever is asked.
bool set_swap_interval(Handle dc, int) { return es_pictures::dc_exists(dc); }
Handle current_dc() { return es_pictures::current_dc(); }
GlOffer gl_offer() { return es_pictures::gl_offer(); }
void* gl_proc_address(const char* name) { return es_pictures::gl_proc_address(name); }

}  // namespace platform
