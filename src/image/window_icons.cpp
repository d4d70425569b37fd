#include "image/window_icons.h"

#include "image/icon.h"

namespace {

// Icon colour bits are 0x00RRGGBB, that is bytes B, G, R in memory. Pictures
// that hold R, G, B (palette pictures) get red and blue swapped.
void to_icon_order(IconBits* bits) {
    std::uint32_t pixels = bits->width * bits->height;
    for (std::uint32_t i = 0; i < pixels; ++i) {
        std::uint32_t v = bits->colour[i];
        bits->colour[i] = (v & 0xFF00FF00u) | (v & 0xFF) << 16 | (v >> 16 & 0xFF);
    }
}

platform::Handle make_icon(const Image& picture) {
    static IconBits bits;
    if (icon_bits_make(picture, &bits) != 0) return 0;
    if (!picture.blue_first) to_icon_order(&bits);
    return platform::create_icon(static_cast<int>(bits.width), static_cast<int>(bits.height), bits.and_mask,
                                 bits.colour);
}

}  // namespace

void window_icons_set(platform::Handle window) {
    platform::Handle small = make_icon(small_icon_image);
    if (small) platform::set_window_icon(window, platform::IconSize::small, small);
    // The big icon is set even when it could not be made, which removes it.
    platform::set_window_icon(window, platform::IconSize::big, make_icon(icon_image));
}
