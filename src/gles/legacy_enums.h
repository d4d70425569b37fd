// The GL 1.x names the demo uses that OpenGL ES does not have, with their
// desktop values.
#pragma once

#include <GLES2/gl2.h>

namespace gles {

enum : GLenum {
    gl_quads = 0x0007,
    gl_compile = 0x1300,
    gl_compile_and_execute = 0x1301,
    gl_modelview = 0x1700,
    gl_projection = 0x1701,
    gl_lighting = 0x0B50,
    gl_light_model_ambient = 0x0B53,
    gl_light1 = 0x4001,
    gl_ambient = 0x1200,
    gl_diffuse = 0x1201,
    gl_position = 0x1203,
    gl_constant_attenuation = 0x1207,
    gl_linear_attenuation = 0x1208,
    gl_quadratic_attenuation = 0x1209,
    gl_flat = 0x1D00,
    gl_smooth = 0x1D01,
    gl_texture_gen_s = 0x0C60,
    gl_texture_gen_t = 0x0C61,
    gl_s = 0x2000,
    gl_t = 0x2001,
    gl_texture_gen_mode = 0x2500,
    gl_sphere_map = 0x2402,
    gl_clamp = 0x2900,
    gl_clamp_to_border = 0x812D,
    gl_perspective_correction_hint = 0x0C50,
    gl_fog_hint = 0x0C54,
    gl_multisample = 0x809D,
    gl_front_buffer = 0x0404,
    gl_back_buffer = 0x0405,
    gl_depth24_stencil8 = 0x88F0,
    gl_program_object = 0x8B40,
    gl_object_compile_status = 0x8B81,
    gl_object_link_status = 0x8B82,
    gl_object_info_log_length = 0x8B84,
    gl_unsigned_byte_rgb = GL_RGB,
};

}  // namespace gles
