// Icons have no place on a page (the tab shows the page's own); they are
// kept as the window's until it replaces them or goes. Bitmaps go to the
// timeline strip's canvas.
#include <emscripten.h>

#include <map>
#include <memory>

#include "platform/platform.h"
#include "platform/web/web_state.h"

namespace {

struct Icon {
    int width = 0, height = 0;
};

std::map<std::pair<platform::Handle, int>, std::unique_ptr<Icon>> attached;

}  // namespace

namespace web {

void icons_release(platform::Handle window) {
    attached.erase(std::make_pair(window, 0));
    attached.erase(std::make_pair(window, 1));
}

}  // namespace web

namespace platform {

Handle create_icon(int width, int height, const std::uint8_t* and_mask, const std::uint32_t* color) {
    if (width < 1 || height < 1 || !and_mask || !color) return 0;
    return reinterpret_cast<Handle>(new Icon{width, height});
}

void set_window_icon(Handle window, IconSize size, Handle icon) {
    auto key = std::make_pair(window, size == IconSize::small ? 0 : 1);
    if (icon)
        attached[key].reset(reinterpret_cast<Icon*>(icon));
    else
        attached.erase(key);
}

// Rows bottom-up, 0x00RRGGBB, as a Windows DIB.
void blit_bitmap(Handle dc, const std::uint32_t* pixels, int width, int height) {
    if (!dc || !pixels || width < 1 || height < 1) return;
    EM_ASM({ Module.heden.stripBlit($0, $1, $2); }, pixels, width, height);
}

}  // namespace platform
