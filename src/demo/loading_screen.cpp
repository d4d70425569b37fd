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

float loading_half_width;
float loading_half_height;

namespace {

constexpr std::uint32_t loading_buffer_bytes = 1048576;  // 512 x 512 pixels

void load_picture() {
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(loading_buffer_bytes));
    Image picture{0, 0, 0, buffer, buffer ? loading_buffer_bytes : 0};
    if (buffer) png_load("pool/loading.png", &picture);
    // A picture that could not be read has no size: nothing is uploaded.
    texture_create(buffer, static_cast<int>(picture.width), static_cast<int>(picture.height), texture_slot::loading_picture, 0);
    std::free(buffer);
    // One texel per screen pixel at distance 1.
    double t = std::tan(field_of_view * half_angle_factor);
    loading_half_height = static_cast<float>(t * picture.height / settings.area_height);
    loading_half_width =
        static_cast<float>((settings.area_width * t / settings.area_height) * picture.width / settings.area_width);
}

}  // namespace

void loading_screen(double progress) {
    load_picture();
    float g = static_cast<float>(1.0 - progress);
    glColor3f(g, g, g);
    glEnable(GL_TEXTURE_2D);
    upright_quad(loading_half_width, loading_half_height);
    glDisable(GL_TEXTURE_2D);
    platform::swap_buffers(main_dc);
    glColor3f(1, 1, 1);
}
