// Every picture a render target of the GL library, every context one of its
// contexts; the WGL pbuffer and render-texture entry points over those
// targets. Nothing here talks to a window system.
#include "platform/es/pictures.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gles/gles.h"
#include "gles/proc_table.h"
#include "platform/es/pbuffer_dc.h"
#include "platform/wgl.h"

namespace es_pictures {

namespace {

struct Picture;

// A device context: the target drawn into, made when the pixel format is
// set (windows) or with the pbuffer.
struct Dc {
    gles::Target* target = nullptr;
    int format = 0;
    Picture* window = nullptr;
};

struct Picture {
    platform::WindowProc proc = nullptr;
    int width = 0, height = 0;
    Dc dc;
};

struct Pbuffer {
    Dc dc;
    bool dc_handed_out = false;
};

bool es_selected = false;
std::vector<std::unique_ptr<Picture>> windows;
std::vector<std::unique_ptr<Pbuffer>> pbuffers;
std::vector<gles::Context*> contexts;
Dc* current = nullptr;

// The one pixel format: RGBA, 24 depth and 8 stencil bits, no multisample.
constexpr int only_format = 1;

Picture* window_of(platform::Handle handle) {
    for (auto& w : windows)
        if (reinterpret_cast<platform::Handle>(w.get()) == handle) return w.get();
    return nullptr;
}

Pbuffer* pbuffer_of(void* handle) {
    for (auto& p : pbuffers)
        if (p.get() == handle) return p.get();
    return nullptr;
}

Dc* dc_of(platform::Handle handle) {
    for (auto& w : windows)
        if (reinterpret_cast<platform::Handle>(&w->dc) == handle) return &w->dc;
    for (auto& p : pbuffers)
        if (reinterpret_cast<platform::Handle>(&p->dc) == handle) return &p->dc;
    return nullptr;
}

gles::Context* context_of(platform::Handle handle) {
    auto found = std::find(contexts.begin(), contexts.end(), reinterpret_cast<gles::Context*>(handle));
    return found == contexts.end() ? nullptr : *found;
}

const char* const wgl_extensions =
    "WGL_ARB_extensions_string WGL_ARB_pixel_format WGL_ARB_pbuffer WGL_ARB_render_texture";

const char* wglGetExtensionsStringARB(void*) { return wgl_extensions; }

// Any request is met by the one format, but one for multisampling.
int wglChoosePixelFormatARB(void*, const int* attributes, const float*, unsigned max_formats, int* formats,
                            unsigned* count) {
    *count = 0;
    for (const int* a = attributes; a && a[0] != 0; a += 2)
        if ((a[0] == wgl::sample_buffers || a[0] == wgl::samples) && a[1] > 0) return 1;
    if (max_formats > 0) formats[(*count)++] = only_format;
    return 1;
}

void* wglCreatePbufferARB(void*, int format, int width, int height, const int*) {
    if (format != only_format || width < 1 || height < 1) return nullptr;
    gles::Target* target = gles::target_create(width, height);
    if (!target) return nullptr;
    pbuffers.push_back(std::make_unique<Pbuffer>());
    pbuffers.back()->dc.target = target;
    pbuffers.back()->dc.format = format;
    return pbuffers.back().get();
}

void* wglGetPbufferDCARB(void* handle) { return pbuffer_dc_hand_out(pbuffer_of(handle)); }

int wglReleasePbufferDCARB(void* handle, void* dc) { return pbuffer_dc_give_back(pbuffer_of(handle), dc); }

int wglDestroyPbufferARB(void* handle) {
    Pbuffer* p = pbuffer_of(handle);
    if (!p) return 0;
    if (current == &p->dc) current = nullptr;
    gles::target_destroy(p->dc.target);
    pbuffers.erase(std::find_if(pbuffers.begin(), pbuffers.end(), [p](auto& q) { return q.get() == p; }));
    return 1;
}

int wglQueryPbufferARB(void* handle, int attribute, int* value) {
    Pbuffer* p = pbuffer_of(handle);
    if (!p) return 0;
    if (attribute == wgl::pbuffer_width)
        *value = gles::target_width(p->dc.target);
    else if (attribute == wgl::pbuffer_height)
        *value = gles::target_height(p->dc.target);
    else
        return 0;
    return 1;
}

// A target has one colour buffer, the back buffer every pass draws into.
int wglBindTexImageARB(void* handle, int buffer) {
    Pbuffer* p = pbuffer_of(handle);
    return p && buffer == wgl::back_left && gles::target_image_bind(p->dc.target) ? 1 : 0;
}

int wglReleaseTexImageARB(void* handle, int buffer) {
    Pbuffer* p = pbuffer_of(handle);
    return p && buffer == wgl::back_left && gles::target_image_release(p->dc.target) ? 1 : 0;
}

int wglSetPbufferAttribARB(void* handle, const int*) { return pbuffer_of(handle) ? 1 : 0; }

const ProcEntry wgl_entries[] = {
    HEDEN_PROC(wglGetExtensionsStringARB), HEDEN_PROC(wglChoosePixelFormatARB), HEDEN_PROC(wglCreatePbufferARB),
    HEDEN_PROC(wglGetPbufferDCARB),        HEDEN_PROC(wglReleasePbufferDCARB),  HEDEN_PROC(wglDestroyPbufferARB),
    HEDEN_PROC(wglQueryPbufferARB),        HEDEN_PROC(wglBindTexImageARB),      HEDEN_PROC(wglReleaseTexImageARB),
    HEDEN_PROC(wglSetPbufferAttribARB),
};

}  // namespace

bool selected() { return es_selected; }

void note_selected() { es_selected = true; }

platform::Handle create_window(const platform::WindowRequest& request, platform::WindowProc proc) {
    if (!proc) return 0;
    auto w = std::make_unique<Picture>();
    w->proc = proc;
    w->width = std::max(1, request.width);
    w->height = std::max(1, request.height);
    w->dc.window = w.get();
    windows.push_back(std::move(w));
    return reinterpret_cast<platform::Handle>(windows.back().get());
}

bool destroy_window(platform::Handle window) {
    Picture* w = window_of(window);
    if (!w) return false;
    if (current == &w->dc) current = nullptr;
    gles::target_destroy(w->dc.target);
    windows.erase(std::find_if(windows.begin(), windows.end(), [w](auto& v) { return v.get() == w; }));
    return true;
}

platform::Size client_size(platform::Handle window) {
    Picture* w = window_of(window);
    return w ? platform::Size{w->width, w->height} : platform::Size{};
}

bool window_exists(platform::Handle window) { return window_of(window) != nullptr; }

std::intptr_t dispatch_message(const platform::Message& msg) {
    Picture* w = window_of(msg.window);
    platform::WindowProc proc = w ? w->proc : nullptr;
    return proc ? proc(msg.window, msg.message, msg.wparam, msg.lparam) : 0;
}

platform::Handle get_dc(platform::Handle window) {
    Picture* w = window_of(window);
    return w ? reinterpret_cast<platform::Handle>(&w->dc) : 0;
}

bool release_dc(platform::Handle window, platform::Handle dc) {
    Picture* w = window_of(window);
    return w && reinterpret_cast<platform::Handle>(&w->dc) == dc;
}

int choose_pixel_format(platform::Handle dc) { return dc_of(dc) ? only_format : 0; }

bool set_pixel_format(platform::Handle dc, int format) {
    Dc* d = dc_of(dc);
    if (!d || !d->window || d->format != 0 || format != only_format) return false;
    d->target = gles::target_create(d->window->width, d->window->height);
    d->format = format;
    return d->target != nullptr;
}

platform::Handle create_gl_context(platform::Handle dc) {
    Dc* d = dc_of(dc);
    if (!d || d->format == 0) return 0;
    contexts.push_back(gles::context_create());
    return reinterpret_cast<platform::Handle>(contexts.back());
}

bool make_gl_current(platform::Handle dc, platform::Handle context) {
    if (!dc && !context) {
        gles::make_current(nullptr, nullptr);
        current = nullptr;
        return true;
    }
    Dc* d = dc_of(dc);
    gles::Context* c = context_of(context);
    if (!d || !c || !d->target) return false;
    gles::make_current(c, d->target);
    current = d;
    return true;
}

bool delete_gl_context(platform::Handle context) {
    gles::Context* c = context_of(context);
    if (!c) return false;
    contexts.erase(std::find(contexts.begin(), contexts.end(), c));
    gles::context_destroy(c);
    return true;
}

const gles::Target* window_picture(platform::Handle dc) {
    Dc* d = dc_of(dc);
    return d && d->window ? d->target : nullptr;
}

bool dc_exists(platform::Handle dc) { return dc_of(dc) != nullptr; }

platform::Handle current_dc() { return reinterpret_cast<platform::Handle>(current); }

platform::GlOffer gl_offer() {
    platform::GlOffer offer;
    if (!current) return offer;
    offer.version = gles::offered_version();
    offer.extensions = gles::offered_extensions();
    offer.wgl_extensions = wgl_extensions;
    return offer;
}

void* gl_proc_address(const char* name) {
    if (std::strncmp(name, "wgl", 3) != 0) return gles::proc_address(name);
    return proc_lookup(wgl_entries, name);
}

}  // namespace es_pictures
