// EGL without a window system: Mesa's surfaceless platform, else the first
// EGL device, and one OpenGL ES context (3.x where offered, else 2.0) made
// current without a surface, or on a small pbuffer where the display cannot
// do without one. libEGL is opened at run time, so the desktop program
// needs it only when ES is asked for.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <dlfcn.h>

#include <string>

#include "platform/x11/headless.h"

namespace {

struct Egl {
    PFNEGLGETPROCADDRESSPROC GetProcAddress = nullptr;
    PFNEGLQUERYSTRINGPROC QueryString = nullptr;
    PFNEGLINITIALIZEPROC Initialize = nullptr;
    PFNEGLBINDAPIPROC BindAPI = nullptr;
    PFNEGLCHOOSECONFIGPROC ChooseConfig = nullptr;
    PFNEGLCREATECONTEXTPROC CreateContext = nullptr;
    PFNEGLCREATEPBUFFERSURFACEPROC CreatePbufferSurface = nullptr;
    PFNEGLMAKECURRENTPROC MakeCurrent = nullptr;
};

Egl egl;

bool listed(const char* list, const char* name) {
    std::string padded = std::string(" ") + (list ? list : "") + " ";
    return padded.find(std::string(" ") + name + " ") != std::string::npos;
}

template <typename Slot>
bool found(void* library, Slot& slot, const char* name) {
    slot = reinterpret_cast<Slot>(dlsym(library, name));
    return slot != nullptr;
}

bool load(std::string* problem) {
    void* library = dlopen("libEGL.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        *problem = "no libEGL.so.1 (Debian: libegl1 and libegl-mesa0)";
        return false;
    }
    if (found(library, egl.GetProcAddress, "eglGetProcAddress") && found(library, egl.QueryString, "eglQueryString") &&
        found(library, egl.Initialize, "eglInitialize") && found(library, egl.BindAPI, "eglBindAPI") &&
        found(library, egl.ChooseConfig, "eglChooseConfig") && found(library, egl.CreateContext, "eglCreateContext") &&
        found(library, egl.CreatePbufferSurface, "eglCreatePbufferSurface") &&
        found(library, egl.MakeCurrent, "eglMakeCurrent"))
        return true;
    *problem = "libEGL.so.1 lacks an EGL 1.4 function";
    return false;
}

// A display of the surfaceless platform, else of the first device.
EGLDisplay platform_display(std::string* problem) {
    const char* client = egl.QueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    auto get_display =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(listed(client, "EGL_EXT_platform_base")
                                                              ? egl.GetProcAddress("eglGetPlatformDisplayEXT")
                                                              : nullptr);
    if (get_display && listed(client, "EGL_MESA_platform_surfaceless"))
        return get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (get_display && listed(client, "EGL_EXT_platform_device") && listed(client, "EGL_EXT_device_enumeration")) {
        auto devices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(egl.GetProcAddress("eglQueryDevicesEXT"));
        EGLDeviceEXT device = nullptr;
        EGLint count = 0;
        if (devices && devices(1, &device, &count) && count > 0)
            return get_display(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
    }
    *problem = "EGL offers neither EGL_MESA_platform_surfaceless nor a device (EGL_EXT_platform_device)";
    return EGL_NO_DISPLAY;
}

EGLContext es_context(EGLDisplay display, EGLConfig config) {
    for (EGLint version : {3, 2}) {
        const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, version, EGL_NONE};
        EGLContext context = egl.CreateContext(display, config, EGL_NO_CONTEXT, attributes);
        if (context != EGL_NO_CONTEXT) return context;
    }
    return EGL_NO_CONTEXT;
}

}  // namespace

namespace x11::headless {

bool egl_start(std::string* problem) {
    if (!load(problem)) return false;
    EGLDisplay display = platform_display(problem);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY) return false;
    if (!egl.Initialize(display, &major, &minor)) {
        *problem = "eglInitialize failed";
        return false;
    }
    const char* extensions = egl.QueryString(display, EGL_EXTENSIONS);
    // The core ES functions are fetched by name: EGL 1.5 hands them out,
    // before it only with this extension.
    if ((major == 1 && minor < 5) && !listed(extensions, "EGL_KHR_get_all_proc_addresses") &&
        !listed(egl.QueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_KHR_client_get_all_proc_addresses")) {
        *problem = "EGL before 1.5 without EGL_KHR_get_all_proc_addresses";
        return false;
    }
    bool surfaceless = listed(extensions, "EGL_KHR_surfaceless_context");
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES2_BIT, EGL_SURFACE_TYPE,
                             surfaceless ? 0 : EGL_PBUFFER_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!egl.BindAPI(EGL_OPENGL_ES_API) || !egl.ChooseConfig(display, wanted, &config, 1, &count) || count < 1) {
        *problem = "EGL has no OpenGL ES 2.0 configuration";
        return false;
    }
    EGLContext context = es_context(display, config);
    const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    EGLSurface surface = surfaceless ? EGL_NO_SURFACE : egl.CreatePbufferSurface(display, config, size);
    if (context == EGL_NO_CONTEXT || (!surfaceless && surface == EGL_NO_SURFACE) ||
        !egl.MakeCurrent(display, surface, surface, context)) {
        *problem = "no OpenGL ES context could be made current";
        return false;
    }
    return true;
}

void* egl_proc_address(const char* name) { return reinterpret_cast<void*>(egl.GetProcAddress(name)); }

}  // namespace x11::headless
