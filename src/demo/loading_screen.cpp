#include "demo/loading_screen.h"

#include <cmath>
#include <cstdlib>

#include "config/settings.h"
#include "demo/quads.h"
#include "demo/texture_slots.h"
#include "gl/gl_defaults.h"
#include "gl/glext.h"
#include "image/image.h"
#include "image/png.h"
#include "image/texture.h"
#include "window/window.h"

HalfExtents loading_half_extents(std::uint32_t width, std::uint32_t height) {
    double t = view_half_height();
    const double area_width = settings.area_width, area_height = settings.area_height;
    return {static_cast<float>((area_width * t / area_height) * width / area_width),
            static_cast<float>(t * height / area_height)};
}

namespace {

constexpr std::uint32_t loading_buffer_bytes = 1048576;  // 512 x 512 pixels

HalfExtents load_picture() {
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(loading_buffer_bytes));
    Image picture{0, 0, 0, buffer, buffer ? loading_buffer_bytes : 0};
    if (buffer) png_load("pool/loading.png", &picture);
    // A picture that could not be read has no size: nothing is uploaded.
    texture_create(buffer, static_cast<int>(picture.width), static_cast<int>(picture.height), texture_slot::loading_picture, 0);
    std::free(buffer);
    return loading_half_extents(picture.width, picture.height);
}

}  // namespace

void loading_screen(double progress) {
    HalfExtents half = load_picture();
    float g = static_cast<float>(1.0 - progress);
    glColor3f(g, g, g);
    glEnable(GL_TEXTURE_2D);
    upright_quad(half.width, half.height);
    glDisable(GL_TEXTURE_2D);
    platform::swap_buffers(window_state.main_dc);
    glColor3f(1, 1, 1);
}
