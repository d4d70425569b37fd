// What the library keeps: render targets (framebuffer objects), the state of
// each GL 1.x context it stands in for, and what the one ES context has been
// told already.
#pragma once

#include <GLES2/gl2.h>

#include <vector>

#include "gles/matrix.h"

namespace gles {

// A picture drawn into: a framebuffer object with a colour texture and a
// depth-stencil buffer. Framebuffer objects are drawn upside down (see
// target_flipped), so their rows lie top down as a window's do.
struct Target {
    GLuint framebuffer = 0, colour = 0, depth_stencil = 0;
    int width = 0, height = 0;
};

// Sampling parameters of a texture name, kept so that a render target's
// image bound over the name samples as the name would.
struct TextureParameters {
    GLint mag = GL_LINEAR, min = GL_NEAREST_MIPMAP_LINEAR, wrap_s = GL_REPEAT, wrap_t = GL_REPEAT;
    int width = 0, height = 0;  // of level 0
};

// The rasteriser state of ES that a context sets.
struct Raster {
    bool blend = false, depth_test = false, stencil_test = false, cull = false, dither = true;
    GLenum blend_src = GL_ONE, blend_dst = GL_ZERO, blend_equation = GL_FUNC_ADD;
    GLenum depth_func = GL_LESS;
    bool depth_mask = true;
    bool colour_mask[4] = {true, true, true, true};
    GLenum stencil_func = GL_ALWAYS;
    GLint stencil_ref = 0;
    GLuint stencil_value_mask = ~0u;
    GLenum stencil_fail = GL_KEEP, stencil_depth_fail = GL_KEEP, stencil_pass = GL_KEEP;
    GLenum cull_face = GL_BACK, front_face = GL_CCW;
    GLint viewport[4] = {0, 0, 0, 0};
    float clear_colour[4] = {0, 0, 0, 0};
    GLint clear_stencil = 0;
};

struct Light {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float position[4] = {0, 0, 1, 0};  // in eye coordinates
    float attenuation[3] = {1, 0, 0};
};

// One GL 1.x context.
struct Context {
    Raster raster;
    std::vector<Mat4> modelview{mat_identity()}, projection{mat_identity()};
    GLenum matrix_mode = 0x1700;  // GL_MODELVIEW
    bool lighting = false, light1 = false, texture_2d = false, texgen_s = false, texgen_t = false;
    GLenum texgen_mode_s = 0x2400, texgen_mode_t = 0x2400;  // GL_EYE_LINEAR
    Light light;
    float model_ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float colour[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float texcoord[2] = {0, 0};
    GLuint texture = 0;               // the texture name bound
    // A render target's image bound as the image of a texture name (the
    // pbuffer's render-texture binding), until released.
    const Target* texture_image = nullptr;
    GLuint texture_image_name = 0;
    GLuint program = 0;               // the shader program in use, 0: fixed function
    GLint pack_alignment = 4, unpack_alignment = 4;
    const Target* target = nullptr;   // drawn into
};

// The render target's image the context samples: the one bound over the
// texture name bound now, else null.
inline const Target* bound_image(const Context& c) {
    return c.texture_image && c.texture_image_name == c.texture ? c.texture_image : nullptr;
}

// The current context; null when none is current.
Context* current();

// The matrix stack the matrix calls work on.
std::vector<Mat4>& matrix_stack(Context& c);

}  // namespace gles
