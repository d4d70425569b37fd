// Device contexts, pixel formats and GL contexts on GLX 1.3.
#include <cstring>
#include <string>

#include "platform/x11/x11_state.h"
#include "platform/x11/headless.h"
#include "platform/x11/wgl_emulation.h"

namespace {

x11::DeviceContext* current = nullptr;

int config_attribute(GLXFBConfig config, int attribute) {
    int value = 0;
    glXGetFBConfigAttrib(x11::display(), config, attribute, &value);
    return value;
}

bool window_config_matches(GLXFBConfig config, const platform::PixelFormatRequest& request) {
    int color = config_attribute(config, GLX_RED_SIZE) + config_attribute(config, GLX_GREEN_SIZE) +
                config_attribute(config, GLX_BLUE_SIZE);
    return (config_attribute(config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) &&
           (config_attribute(config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) && config_attribute(config, GLX_DOUBLEBUFFER) &&
           config_attribute(config, GLX_VISUAL_ID) != 0 && color >= std::min(request.color_bits, 24) &&
           config_attribute(config, GLX_DEPTH_SIZE) >= request.depth_bits &&
           config_attribute(config, GLX_STENCIL_SIZE) >= request.stencil_bits &&
           config_attribute(config, GLX_SAMPLE_BUFFERS) == 0;
}

}  // namespace

namespace x11 {

DeviceContext* dc_of(platform::Handle handle) {
    if (!handle) return nullptr;
    for (WindowRecord* w : windows())
        if (reinterpret_cast<platform::Handle>(&w->dc) == handle) return &w->dc;
    return pbuffer_dc(handle);
}

}  // namespace x11

namespace platform {

Handle get_dc(Handle window) {
    if (x11::headless::selected()) return x11::headless::get_dc(window);
    x11::WindowRecord* w = x11::window_of(window);
    return w ? reinterpret_cast<Handle>(&w->dc) : 0;
}

bool release_dc(Handle window, Handle dc) {
    if (x11::headless::selected()) return x11::headless::release_dc(window, dc);
    x11::WindowRecord* w = x11::window_of(window);
    return w && reinterpret_cast<Handle>(&w->dc) == dc;
}

int choose_pixel_format(Handle dc, const PixelFormatRequest& request) {
    if (x11::headless::selected()) return x11::headless::choose_pixel_format(dc);
    if (!x11::dc_of(dc)) return 0;
    const std::vector<GLXFBConfig>& all = x11::configs();
    // The first match with the fewest extra bits, as a driver would rank them.
    int best = 0, best_extra = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!window_config_matches(all[i], request)) continue;
        int extra = config_attribute(all[i], GLX_DEPTH_SIZE) - request.depth_bits +
                    config_attribute(all[i], GLX_STENCIL_SIZE) - request.stencil_bits +
                    config_attribute(all[i], GLX_ACCUM_RED_SIZE) + config_attribute(all[i], GLX_AUX_BUFFERS);
        if (best == 0 || extra < best_extra) {
            best = static_cast<int>(i) + 1;
            best_extra = extra;
        }
    }
    return best;
}

bool set_pixel_format(Handle dc, int format, const PixelFormatRequest&) {
    if (x11::headless::selected()) return x11::headless::set_pixel_format(dc, format);
    x11::DeviceContext* d = x11::dc_of(dc);
    const std::vector<GLXFBConfig>& all = x11::configs();
    if (!d || !d->window || d->format != 0 || format < 1 || format > static_cast<int>(all.size())) return false;
    GLXFBConfig config = all[format - 1];
    XVisualInfo* visual = glXGetVisualFromFBConfig(x11::display(), config);
    if (!visual) return false;
    bool ok = visual->visualid == XVisualIDFromVisual(d->window->visual) ||
              x11::realize(d->window, visual->visual, visual->depth);
    XFree(visual);
    if (!ok) return false;
    d->drawable = glXCreateWindow(x11::display(), config, d->window->xwindow, nullptr);
    d->format = format;
    return d->drawable != 0;
}

Handle create_gl_context(Handle dc) {
    if (x11::headless::selected()) return x11::headless::create_gl_context(dc);
    x11::DeviceContext* d = x11::dc_of(dc);
    if (!d || d->format == 0) return 0;
    GLXContext context = glXCreateNewContext(x11::display(), x11::configs()[d->format - 1], GLX_RGBA_TYPE,
                                             x11::share_root(d->format), True);
    d->context = context;
    return reinterpret_cast<Handle>(context);
}

bool make_gl_current(Handle dc, Handle context) {
    if (x11::headless::selected()) return x11::headless::make_gl_current(dc, context);
    Display* dpy = x11::display();
    if (!dpy) return false;
    if (!dc && !context) {
        current = nullptr;
        return glXMakeContextCurrent(dpy, None, None, nullptr) == True;
    }
    x11::DeviceContext* d = x11::dc_of(dc);
    if (!d || !context) return false;
    if (!glXMakeContextCurrent(dpy, d->drawable, d->drawable, reinterpret_cast<GLXContext>(context))) return false;
    current = d;
    x11::pbuffer_drawn(d);
    return true;
}

bool delete_gl_context(Handle context) {
    if (x11::headless::selected()) return x11::headless::delete_gl_context(context);
    if (!context || !x11::display()) return false;
    if (glXGetCurrentContext() == reinterpret_cast<GLXContext>(context)) {
        glXMakeContextCurrent(x11::display(), None, None, nullptr);
        current = nullptr;
    }
    glXDestroyContext(x11::display(), reinterpret_cast<GLXContext>(context));
    return true;
}

// Every context already shares with the root context it was created with.
bool share_gl_lists(Handle source, Handle target) { return source != 0 && target != 0 && x11::display() != nullptr; }

bool swap_buffers(Handle dc) {
    if (x11::headless::selected()) return x11::headless::swap_buffers(dc);
    x11::DeviceContext* d = x11::dc_of(dc);
    if (!d || !d->drawable) return false;
    glXSwapBuffers(x11::display(), d->drawable);
    x11::pbuffer_drawn(d);
    return true;
}

// The EXT control sets the interval of a drawable; MESA and SGI that of the
// current context's drawable. SGI cannot turn waiting off.
bool set_swap_interval(Handle dc, int interval) {
    x11::DeviceContext* d = x11::dc_of(dc);
    if (!d || !d->drawable || glXGetCurrentDrawable() != d->drawable) return false;
    std::string offered = x11::glx_extensions();
    auto address = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (lists_extension(offered, "GLX_EXT_swap_control")) {
        using Set = void (*)(Display*, GLXDrawable, int);
        reinterpret_cast<Set>(address("glXSwapIntervalEXT"))(x11::display(), d->drawable, interval);
        return true;
    }
    if (lists_extension(offered, "GLX_MESA_swap_control")) {
        using Set = int (*)(unsigned);
        return reinterpret_cast<Set>(address("glXSwapIntervalMESA"))(static_cast<unsigned>(interval)) == 0;
    }
    if (lists_extension(offered, "GLX_SGI_swap_control") && interval > 0) {
        using Set = int (*)(int);
        return reinterpret_cast<Set>(address("glXSwapIntervalSGI"))(interval) == 0;
    }
    return false;
}

Handle current_dc() {
    if (x11::headless::selected()) return x11::headless::current_dc();
    return reinterpret_cast<Handle>(current);
}

GlOffer gl_offer() {
    if (x11::headless::selected()) return x11::headless::gl_offer();
    GlOffer offer;
    if (!glXGetCurrentContext()) return offer;
    auto text = [](GLenum name) {
        const GLubyte* s = glGetString(name);
        return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
    };
    offer.version = text(GL_VERSION);
    offer.extensions = text(GL_EXTENSIONS);
    offer.wgl_extensions = x11::wgl_extensions();
    return offer;
}

void* gl_proc_address(const char* name) {
    if (x11::headless::selected()) return x11::headless::gl_proc_address(name);
    if (std::strncmp(name, "wgl", 3) == 0) return x11::wgl_proc_address(name);
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace platform
