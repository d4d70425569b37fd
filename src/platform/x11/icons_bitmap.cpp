// Window icons as _NET_WM_ICON (ARGB, transparent where the AND mask says)
// and the debug window's bitmap copy with XPutImage.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <memory>

#include "platform/x11/x11_state.h"

namespace x11 {

struct Icon {
    int width = 0, height = 0;
    std::vector<unsigned long> argb;  // _NET_WM_ICON wants longs
};

void icons_publish(const WindowRecord& w) {
    std::vector<unsigned long> data;
    for (Icon* icon : w.icons) {
        if (!icon) continue;
        data.push_back(static_cast<unsigned long>(icon->width));
        data.push_back(static_cast<unsigned long>(icon->height));
        data.insert(data.end(), icon->argb.begin(), icon->argb.end());
    }
    Display* dpy = display();
    Atom property = XInternAtom(dpy, "_NET_WM_ICON", False);
    if (data.empty())
        XDeleteProperty(dpy, top_level(w), property);
    else
        XChangeProperty(dpy, top_level(w), property, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

}  // namespace x11

namespace {

// Icons live as long as the program; the list owns them, so they are freed
// at exit with it.
std::vector<std::unique_ptr<x11::Icon>> icons;

bool masked(const std::uint8_t* mask, int width, int x, int y) {
    int row_bytes = ((width + 15) / 16) * 2;
    return (mask[y * row_bytes + x / 8] >> (7 - x % 8)) & 1;
}

}  // namespace

namespace platform {

Handle create_icon(int width, int height, const std::uint8_t* and_mask, const std::uint32_t* color) {
    if (width <= 0 || height <= 0 || width > 256 || height > 256) return 0;
    auto* icon = icons.emplace_back(new x11::Icon{width, height, {}}).get();
    icon->argb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned long rgb = color[y * width + x] & 0xFFFFFFu;
            icon->argb.push_back(masked(and_mask, width, x, y) ? 0 : (0xFF000000ul | rgb));
        }
    return reinterpret_cast<Handle>(icon);
}

void set_window_icon(Handle window, IconSize size, Handle icon) {
    x11::WindowRecord* w = x11::window_of(window);
    if (!w) return;
    x11::Icon* chosen = nullptr;
    for (const auto& known : icons)
        if (reinterpret_cast<Handle>(known.get()) == icon) chosen = known.get();
    w->icons[size == IconSize::small ? 0 : 1] = chosen;
    x11::icons_publish(*w);
}

void blit_bitmap(Handle dc, const std::uint32_t* pixels, int width, int height) {
    x11::DeviceContext* d = x11::dc_of(dc);
    if (!d || !d->window || width <= 0 || height <= 0) return;
    Display* dpy = x11::display();
    x11::WindowRecord* w = d->window;
    XImage* image = XCreateImage(dpy, w->visual, static_cast<unsigned>(w->depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!image) return;
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * height));
    // The bitmap's rows run bottom-up.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            XPutPixel(image, x, y, pixels[(height - 1 - y) * width + x] & 0xFFFFFFu);
    GC gc = XCreateGC(dpy, w->xwindow, 0, nullptr);
    XPutImage(dpy, w->xwindow, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFreeGC(dpy, gc);
    XDestroyImage(image);
    XFlush(dpy);
}

}  // namespace platform
