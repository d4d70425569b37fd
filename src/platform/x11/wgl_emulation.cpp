#include "platform/x11/wgl_emulation.h"

#include <GL/gl.h>
#include <GL/glxext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "gles/proc_table.h"
#include "platform/wgl.h"
#include "platform/es/pbuffer_dc.h"

namespace {

struct Pbuffer {
    x11::DeviceContext dc;
    bool dc_handed_out = false;
    // The texture holding a copy of one of the colour buffers as it is now
    // (0: none) and which buffer: being made current to draw, or another
    // copy into that texture, ends it.
    GLuint copy_texture = 0;
    int copy_buffer = 0;
};

std::vector<Pbuffer*> pbuffers;

Pbuffer* pbuffer_of(void* handle) {
    auto* p = static_cast<Pbuffer*>(handle);
    return std::find(pbuffers.begin(), pbuffers.end(), p) != pbuffers.end() ? p : nullptr;
}

// Translates a WGL attribute list into GLX terms. Attributes GLX has no
// counterpart for (acceleration, OpenGL support, render-texture binding) are
// satisfied by every configuration here.
std::vector<int> glx_attributes(const int* wgl_list) {
    std::vector<int> out = {GLX_RENDER_TYPE, GLX_RGBA_BIT};
    int drawable = 0;
    for (const int* a = wgl_list; a && a[0] != 0; a += 2) {
        int value = a[1];
        switch (a[0]) {
            case wgl::draw_to_window: drawable |= value ? GLX_WINDOW_BIT : 0; break;
            case wgl::draw_to_pbuffer: drawable |= value ? GLX_PBUFFER_BIT : 0; break;
            case wgl::double_buffer: out.insert(out.end(), {GLX_DOUBLEBUFFER, value ? True : False}); break;
            case wgl::color_bits: {
                int channel = value >= 24 ? 8 : value / 3;
                out.insert(out.end(), {GLX_RED_SIZE, channel, GLX_GREEN_SIZE, channel, GLX_BLUE_SIZE, channel});
                break;
            }
            case wgl::alpha_bits: out.insert(out.end(), {GLX_ALPHA_SIZE, value}); break;
            case wgl::depth_bits: out.insert(out.end(), {GLX_DEPTH_SIZE, value}); break;
            case wgl::stencil_bits: out.insert(out.end(), {GLX_STENCIL_SIZE, value}); break;
            case wgl::sample_buffers: out.insert(out.end(), {GLX_SAMPLE_BUFFERS, value}); break;
            case wgl::samples: out.insert(out.end(), {GLX_SAMPLES, value}); break;
            default: break;
        }
    }
    if (drawable) out.insert(out.end(), {GLX_DRAWABLE_TYPE, drawable});
    out.push_back(None);
    return out;
}

int format_number(GLXFBConfig config) {
    const std::vector<GLXFBConfig>& all = x11::configs();
    auto found = std::find(all.begin(), all.end(), config);
    return found == all.end() ? 0 : static_cast<int>(found - all.begin()) + 1;
}

const char* wglGetExtensionsStringARB(void*) {
    static std::string list;
    list = x11::wgl_extensions();
    return list.c_str();
}

int wglChoosePixelFormatARB(void*, const int* int_attributes, const float*, unsigned max_formats, int* formats,
                            unsigned* count) {
    *count = 0;
    if (!x11::display()) return 0;
    std::vector<int> attributes = glx_attributes(int_attributes);
    int found = 0;
    GLXFBConfig* list =
        glXChooseFBConfig(x11::display(), DefaultScreen(x11::display()), attributes.data(), &found);
    for (int i = 0; i < found && *count < max_formats; ++i) formats[(*count)++] = format_number(list[i]);
    if (list) XFree(list);
    return 1;
}

void* wglCreatePbufferARB(void*, int format, int width, int height, const int*) {
    const std::vector<GLXFBConfig>& all = x11::configs();
    if (format < 1 || format > static_cast<int>(all.size()) || width < 1 || height < 1) return nullptr;
    const int attributes[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, GLX_PRESERVED_CONTENTS, True,
                              None};
    GLXPbuffer drawable = glXCreatePbuffer(x11::display(), all[format - 1], attributes);
    if (!drawable) return nullptr;
    auto* p = new Pbuffer;
    p->dc.drawable = drawable;
    p->dc.format = format;
    unsigned value = 0;
    glXQueryDrawable(x11::display(), drawable, GLX_WIDTH, &value);
    p->dc.width = static_cast<int>(value);
    glXQueryDrawable(x11::display(), drawable, GLX_HEIGHT, &value);
    p->dc.height = static_cast<int>(value);
    pbuffers.push_back(p);
    return p;
}

void* wglGetPbufferDCARB(void* handle) { return es_pictures::pbuffer_dc_hand_out(pbuffer_of(handle)); }

int wglReleasePbufferDCARB(void* handle, void* dc) { return es_pictures::pbuffer_dc_give_back(pbuffer_of(handle), dc); }

int wglDestroyPbufferARB(void* handle) {
    Pbuffer* p = pbuffer_of(handle);
    if (!p) return 0;
    glXDestroyPbuffer(x11::display(), p->dc.drawable);
    pbuffers.erase(std::find(pbuffers.begin(), pbuffers.end(), p));
    delete p;
    return 1;
}

int wglQueryPbufferARB(void* handle, int attribute, int* value) {
    Pbuffer* p = pbuffer_of(handle);
    if (!p) return 0;
    if (attribute == wgl::pbuffer_width) *value = p->dc.width;
    else if (attribute == wgl::pbuffer_height) *value = p->dc.height;
    else return 0;
    return 1;
}

bool texture_sized(int width, int height) {
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    return w == width && h == height;
}

// The order pixels are handed over in: BGRA, the order the X server's
// 32-bit visuals and so Mesa's pbuffers keep their colour in, where the
// current context takes it (core since OpenGL 1.2, an extension before).
// Asked for in that order, the driver stores a texture in the pbuffer's own
// layout, and a copy moves the pixels as they are instead of swapping red
// and blue in each.
GLenum pixel_order() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (version && std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 1 || minor >= 2)) return GL_BGRA_EXT;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions && platform::lists_extension(extensions, "GL_EXT_bgra") ? GL_BGRA_EXT : GL_RGBA;
}

// Gives the bound texture room for the whole pbuffer, once: later binds
// copy into it without reallocating.
void texture_storage(int width, int height, GLenum order) {
    if (texture_sized(width, height)) return;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, order, GL_UNSIGNED_BYTE, nullptr);
}

// Whether the texture bound in the calling context already holds that
// buffer of the pbuffer as it is now.
bool copy_is_current(const Pbuffer& p, GLuint texture, int buffer) {
    return texture != 0 && p.copy_texture == texture && p.copy_buffer == buffer &&
           texture_sized(p.dc.width, p.dc.height);
}

// After a copy into the texture: no other pbuffer's image is in it now.
// A pbuffer current in the caller can be drawn into without being made
// current again, so a copy of it is never taken for current.
void copy_noted(Pbuffer* p, GLuint texture, int buffer, bool drawn_by_caller) {
    for (Pbuffer* other : pbuffers)
        if (other->copy_texture == texture) other->copy_texture = 0;
    p->copy_texture = drawn_by_caller ? 0 : texture;
    p->copy_buffer = buffer;
}

// The context that makes every copy from pbuffers of one configuration. A
// driver builds the program behind a copy once per context: one context for
// all copies builds it once instead of once in each pbuffer's context. It
// shares objects with every other context and lives as long as they do.
// The order it hands pixels over in is asked of it once, on its first copy.
struct Copier {
    int format;
    GLXContext context;
    GLenum order = 0;
};

std::vector<Copier> copiers;

Copier* copier_for(int format) {
    for (Copier& c : copiers)
        if (c.format == format) return &c;
    GLXContext context = glXCreateNewContext(x11::display(), x11::configs()[format - 1], GLX_RGBA_TYPE,
                                             x11::share_root(format), True);
    if (!context) return nullptr;
    copiers.push_back({format, context});
    return &copiers.back();
}

// Whether the renderer draws on the CPU, as its driver reports through
// GLX_MESA_query_renderer. There the copy below is best done as two row
// copies through memory: the driver's own copy from a pbuffer, whose rows
// are stored top first while a texture's are stored bottom first, is a
// flipped blit that runs every pixel through the software pipeline's
// shaders. On a GPU (or a driver that does not say) the copy stays in the
// driver, where a read into memory would stall the GPU.
bool renderer_in_software() {
    static int software = -1;
    if (software >= 0) return software != 0;
    software = 0;
    Display* dpy = x11::display();
    if (!platform::lists_extension(x11::glx_extensions(), "GLX_MESA_query_renderer")) return false;
    auto query = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    unsigned accelerated = 1;
    if (query && query(dpy, DefaultScreen(dpy), 0, GLX_RENDERER_ACCELERATED_MESA, &accelerated))
        software = accelerated == 0 ? 1 : 0;
    return software != 0;
}

// The pixels on their way through memory, as large as the largest pbuffer
// copied so far: it only grows, so that no copy pays for clearing it.
std::vector<unsigned char> copy_pixels;

// In the copier, which keeps the pixel store state at its defaults: the
// rows read out in the texture's own storage order go back in as they are,
// 8 bits a channel both ways, the bytes the driver's copy writes.
void copy_through_memory(int width, int height, GLenum order) {
    std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    if (copy_pixels.size() < bytes) copy_pixels.resize(bytes);
    glReadPixels(0, 0, width, height, order, GL_UNSIGNED_BYTE, copy_pixels.data());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, order, GL_UNSIGNED_BYTE, copy_pixels.data());
}

// Copies the colour buffer into the texture, in the copier on the
// pbuffer. Contexts do not wait for each other: the pbuffer's own context
// finishes its drawing first, and the copy is finished before the caller
// samples the texture.
bool copy_to_texture(const Pbuffer& p, Copier& copier, GLuint texture, int buffer) {
    Display* dpy = x11::display();
    if (!glXMakeContextCurrent(dpy, p.dc.drawable, p.dc.drawable, p.dc.context)) return false;
    glFinish();
    if (!glXMakeContextCurrent(dpy, p.dc.drawable, p.dc.drawable, copier.context)) return false;
    glReadBuffer(buffer == wgl::front_left ? GL_FRONT : GL_BACK);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (!copier.order) copier.order = pixel_order();
    texture_storage(p.dc.width, p.dc.height, copier.order);
    if (renderer_in_software())
        copy_through_memory(p.dc.width, p.dc.height, copier.order);
    else
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, p.dc.width, p.dc.height);
    glFinish();
    return true;
}

// Binding copies the chosen colour buffer into the texture bound in the
// calling context, unless that texture holds it already (a frame binds one
// image in several contexts). Nothing draws into a pbuffer while it is
// bound, so a snapshot reads the same as a live binding would. The state of
// the pbuffer's context is left alone.
int wglBindTexImageARB(void* handle, int buffer) {
    Pbuffer* p = pbuffer_of(handle);
    if (!p || !p->dc.context || (buffer != wgl::front_left && buffer != wgl::back_left)) return 0;
    GLXContext caller = glXGetCurrentContext();
    if (!caller) return 0;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLuint texture = static_cast<GLuint>(bound);
    GLXDrawable draw = glXGetCurrentDrawable(), read = glXGetCurrentReadDrawable();
    bool drawn_by_caller = draw == p->dc.drawable;
    if (!drawn_by_caller && copy_is_current(*p, texture, buffer)) return 1;
    Copier* copier = copier_for(p->dc.format);
    if (!copier) return 0;
    // What the caller drew into the pbuffer itself is finished here.
    if (drawn_by_caller) glFinish();
    bool copied = copy_to_texture(*p, *copier, texture, buffer);
    glXMakeContextCurrent(x11::display(), draw, read, caller);
    if (copied) copy_noted(p, texture, buffer, drawn_by_caller);
    return copied ? 1 : 0;
}

int wglReleaseTexImageARB(void* handle, int buffer) {
    return pbuffer_of(handle) && (buffer == wgl::front_left || buffer == wgl::back_left) ? 1 : 0;
}

int wglSetPbufferAttribARB(void* handle, const int*) { return pbuffer_of(handle) ? 1 : 0; }

const ProcEntry entries[] = {
    HEDEN_PROC(wglGetExtensionsStringARB),
    HEDEN_PROC(wglChoosePixelFormatARB),
    HEDEN_PROC(wglCreatePbufferARB),
    HEDEN_PROC(wglGetPbufferDCARB),
    HEDEN_PROC(wglReleasePbufferDCARB),
    HEDEN_PROC(wglDestroyPbufferARB),
    HEDEN_PROC(wglQueryPbufferARB),
    HEDEN_PROC(wglBindTexImageARB),
    HEDEN_PROC(wglReleaseTexImageARB),
    HEDEN_PROC(wglSetPbufferAttribARB),
};

}  // namespace

namespace x11 {

// Pixel formats, pbuffers and their binding are built on FBConfigs and
// glXCreatePbuffer, which came with GLX 1.3; multisample formats need the
// server's multisample extension (core in GLX 1.4).
std::string wgl_extensions() {
    Display* dpy = display();
    int major = 0, minor = 0;
    if (!dpy || !glXQueryVersion(dpy, &major, &minor)) return "";
    if (major < 1 || (major == 1 && minor < 3)) return "WGL_ARB_extensions_string";
    std::string list = "WGL_ARB_extensions_string WGL_ARB_pixel_format WGL_ARB_pbuffer WGL_ARB_render_texture";
    if (minor >= 4 || platform::lists_extension(glx_extensions(), "GLX_ARB_multisample")) list += " WGL_ARB_multisample";
    return list;
}

void* wgl_proc_address(const char* name) {
    return display() ? proc_lookup(entries, name) : nullptr;
}

DeviceContext* pbuffer_dc(platform::Handle handle) {
    for (Pbuffer* p : pbuffers)
        if (reinterpret_cast<platform::Handle>(&p->dc) == handle) return &p->dc;
    return nullptr;
}

void pbuffer_drawn(const DeviceContext* dc) {
    for (Pbuffer* p : pbuffers)
        if (&p->dc == dc) p->copy_texture = 0;
}

}  // namespace x11
