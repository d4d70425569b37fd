#include <windows.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

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
    pfd.cAlphaBits = static_cast<BYTE>(request.alpha_bits);
    pfd.cDepthBits = static_cast<BYTE>(request.depth_bits);
    pfd.cStencilBits = static_cast<BYTE>(request.stencil_bits);
    return pfd;
}

// Textures, display lists and programs live as long as one context of their
// sharing group does. F4 deletes every context the program has, so the
// backend keeps one more: a root context, never made current, that every new
// context shares with. The x11 backend does the same with GLX.
struct ShareGroup {
    HGLRC root = nullptr;
    std::vector<HGLRC> members;  // live contexts sharing with the root
};

ShareGroup group;

bool member(HGLRC context) { return std::find(group.members.begin(), group.members.end(), context) != group.members.end(); }

// The root is made on the DC of the first context. wglShareLists refuses
// contexts of an incompatible pixel format (wine: another visual depth); the
// probe's temporary format can differ from the main window's. A root no
// context shares with any more holds nothing the program made with a live
// context, so it is replaced by one in the format of the newcomer.
void join_group(HDC dc, HGLRC context) {
    if (!group.root) group.root = wglCreateContext(dc);
    if (!group.root) return;
    if (wglShareLists(group.root, context)) {
        group.members.push_back(context);
        return;
    }
    if (!group.members.empty()) return;
    wglDeleteContext(group.root);
    group.root = wglCreateContext(dc);
    if (group.root && wglShareLists(group.root, context)) group.members.push_back(context);
}

// Some drivers answer wglGetProcAddress with 1, 2, 3 or -1 for names they
// do not have.
bool missing_address(PROC address) {
    auto value = reinterpret_cast<std::intptr_t>(address);
    return value == 0 || value == 1 || value == 2 || value == 3 || value == -1;
}

// The WGL extension string of the current context's driver, "" when it has
// none.
std::string wgl_extensions() {
    using ArbList = const char*(WINAPI*)(HDC);
    using ExtList = const char*(WINAPI*)();
    PROC arb = wglGetProcAddress("wglGetExtensionsStringARB");
    PROC ext = wglGetProcAddress("wglGetExtensionsStringEXT");
    const char* list = nullptr;
    if (!missing_address(arb))
        list = reinterpret_cast<ArbList>(reinterpret_cast<void*>(arb))(wglGetCurrentDC());
    else if (!missing_address(ext))
        list = reinterpret_cast<ExtList>(reinterpret_cast<void*>(ext))();
    return list ? list : "";
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

Handle create_gl_context(Handle dc) {
    HGLRC context = wglCreateContext(hdc(dc));
    if (context) join_group(hdc(dc), context);
    return reinterpret_cast<Handle>(context);
}

bool make_gl_current(Handle dc, Handle context) { return wglMakeCurrent(hdc(dc), hglrc(context)) != 0; }

bool delete_gl_context(Handle context) {
    if (!wglDeleteContext(hglrc(context))) return false;
    group.members.erase(std::remove(group.members.begin(), group.members.end(), hglrc(context)), group.members.end());
    return true;
}

// Contexts of the root's group already share everything.
bool share_gl_lists(Handle source, Handle target) {
    if (member(hglrc(source)) && member(hglrc(target))) return true;
    return wglShareLists(hglrc(source), hglrc(target)) != 0;
}

bool swap_buffers(Handle dc) { return SwapBuffers(hdc(dc)) != 0; }

// Windows keeps its driver's GL: the ES library is a Linux piece.
bool select_gl(GlKind kind, std::string* problem) {
    if (kind == GlKind::desktop) return true;
    *problem = "OpenGL ES is drawn on Linux only";
    return false;
}

Handle current_dc() { return reinterpret_cast<Handle>(wglGetCurrentDC()); }

GlOffer gl_offer() {
    GlOffer offer;
    if (!wglGetCurrentContext()) return offer;
    auto text = [](const GLubyte* s) { return s ? std::string(reinterpret_cast<const char*>(s)) : std::string(); };
    offer.version = text(glGetString(GL_VERSION));
    offer.extensions = text(glGetString(GL_EXTENSIONS));
    offer.wgl_extensions = wgl_extensions();
    return offer;
}

bool set_swap_interval(Handle dc, int interval) {
    using SwapInterval = BOOL(WINAPI*)(int);
    PROC set = wglGetProcAddress("wglSwapIntervalEXT");
    if (wglGetCurrentDC() != hdc(dc) || !lists_extension(wgl_extensions(), "WGL_EXT_swap_control") || missing_address(set))
        return false;
    return reinterpret_cast<SwapInterval>(reinterpret_cast<void*>(set))(interval) != 0;
}

void* gl_proc_address(const char* name) {
    PROC address = wglGetProcAddress(name);
    return missing_address(address) ? nullptr : reinterpret_cast<void*>(address);
}

}  // namespace platform
