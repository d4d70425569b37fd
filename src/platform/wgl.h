// The WGL extension vocabulary (pbuffer, render-texture, pixel-format and
// multisample names) shared by portable code and the backends. Values are
// those of the WGL ARB extensions.
#pragma once

namespace wgl {

enum : int {
    draw_to_window = 0x2001,
    acceleration = 0x2003,
    support_opengl = 0x2010,
    double_buffer = 0x2011,
    color_bits = 0x2014,
    alpha_bits = 0x201B,
    depth_bits = 0x2022,
    stencil_bits = 0x2023,
    full_acceleration = 0x2027,
    draw_to_pbuffer = 0x202D,
    pbuffer_width = 0x2034,
    pbuffer_height = 0x2035,
    sample_buffers = 0x2041,
    samples = 0x2042,
    bind_to_texture_rgba = 0x2071,
    texture_format = 0x2072,
    texture_target = 0x2073,
    texture_rgba = 0x2076,
    texture_2d = 0x207A,
    front_left = 0x2083,
    back_left = 0x2085,
};

}  // namespace wgl
