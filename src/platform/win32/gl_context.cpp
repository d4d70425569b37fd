#include <windows.h>

#include "platform/platform.h"

namespace {

HDC hdc(platform::Handle h) { return reinterpret_cast<HDC>(h); }
HGLRC hglrc(platform::Handle h) { return reinterpret_cast<HGLRC>(h); }

PIXELFORMATDESCRIPTOR descriptor(const platform::PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(request.color_bits);
    pfd.cDepthBits = static_cast<BYTE>(request.depth_bits);
    pfd.cStencilBits = static_cast<BYTE>(request.stencil_bits);
    return pfd;
}

}  // namespace

namespace platform {

Handle get_dc(Handle window) { return reinterpret_cast<Handle>(GetDC(reinterpret_cast<HWND>(window))); }

bool release_dc(Handle window, Handle dc) { return ReleaseDC(reinterpret_cast<HWND>(window), hdc(dc)) != 0; }

int choose_pixel_format(Handle dc, const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR pfd = descriptor(request);
    return ChoosePixelFormat(hdc(dc), &pfd);
}

bool set_pixel_format(Handle dc, int format, const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR pfd = descriptor(request);
    return SetPixelFormat(hdc(dc), format, &pfd) != 0;
}

Handle create_gl_context(Handle dc) { return reinterpret_cast<Handle>(wglCreateContext(hdc(dc))); }

bool make_gl_current(Handle dc, Handle context) { return wglMakeCurrent(hdc(dc), hglrc(context)) != 0; }

bool delete_gl_context(Handle context) { return wglDeleteContext(hglrc(context)) != 0; }

bool share_gl_lists(Handle source, Handle target) { return wglShareLists(hglrc(source), hglrc(target)) != 0; }

bool swap_buffers(Handle dc) { return SwapBuffers(hdc(dc)) != 0; }

Handle current_dc() { return reinterpret_cast<Handle>(wglGetCurrentDC()); }

void* gl_proc_address(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

}  // namespace platform
