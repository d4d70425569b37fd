#include "capture/readback.h"

#include <cstring>

#include "config/settings.h"
#include "gl/glext.h"

AreaRect readback_area_rect() {
    return AreaRect{(settings.window_width - settings.area_width) / 2, (settings.window_height - settings.area_height) / 2,
                    settings.area_width, settings.area_height};
}

void readback_area(const AreaRect& area, std::vector<std::uint8_t>& rgb) {
    std::size_t row = static_cast<std::size_t>(area.width) * 3;
    rgb.resize(row * static_cast<std::size_t>(area.height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(area.x, area.y, area.width, area.height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    // GL hands rows out bottom first.
    std::vector<std::uint8_t> line(row);
    for (int top = 0, bottom = area.height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = rgb.data() + row * static_cast<std::size_t>(top);
        std::uint8_t* b = rgb.data() + row * static_cast<std::size_t>(bottom);
        std::memcpy(line.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, line.data(), row);
    }
}
