// The state calls: each sets the current context's record, which the next
// draw applies (pipeline.cpp); while a list compiles they are kept in it.
#include <cstring>
#include <string>
#include <vector>

#include "gles/calls.h"
#include "gles/es_api.h"
#include "gles/gles.h"
#include "gles/legacy_enums.h"
#include "gles/pipeline.h"
#include "gles/report.h"
#include "gles/state.h"

namespace gles {

namespace {

// The flag a capability names; null for one the library does not know.
bool* capability(Context& c, GLenum cap) {
    switch (cap) {
        case GL_BLEND: return &c.raster.blend;
        case GL_DEPTH_TEST: return &c.raster.depth_test;
        case GL_STENCIL_TEST: return &c.raster.stencil_test;
        case GL_CULL_FACE: return &c.raster.cull;
        case GL_DITHER: return &c.raster.dither;
        case gl_lighting: return &c.lighting;
        case gl_light1: return &c.light1;
        case GL_TEXTURE_2D: return &c.texture_2d;
        case gl_texture_gen_s: return &c.texgen_s;
        case gl_texture_gen_t: return &c.texgen_t;
        default: return nullptr;
    }
}

void enable(GLenum cap, bool on, const char* call) {
    Context* c = current();
    if (!c) return;
    if (bool* flag = capability(*c, cap))
        *flag = on;
    else
        unimplemented(call, cap);
}

// Runs `set` on the current context now, or when the list being compiled
// is called.
template <typename Set>
void with_context(Set set) {
    if (list_records([set] { with_context(set); })) return;
    if (Context* c = current()) set(*c);
}

std::string version_text;

void glActiveTexture(GLenum unit) {
    if (unit != GL_TEXTURE0) unimplemented("glActiveTexture", unit);
}

void glClientActiveTexture(GLenum unit) {
    if (unit != GL_TEXTURE0) unimplemented("glClientActiveTexture", unit);
}

void glBlendEquation(GLenum mode) {
    with_context([mode](Context& c) { c.raster.blend_equation = mode; });
}

}  // namespace

void* calls_proc(const char* name) {
    if (std::strcmp(name, "glActiveTexture") == 0) return reinterpret_cast<void*>(glActiveTexture);
    if (std::strcmp(name, "glClientActiveTexture") == 0) return reinterpret_cast<void*>(glClientActiveTexture);
    if (std::strcmp(name, "glBlendEquation") == 0) return reinterpret_cast<void*>(glBlendEquation);
    return nullptr;
}

namespace calls {

void glEnable(GLenum cap) {
    if (!list_records([cap] { glEnable(cap); })) enable(cap, true, "glEnable");
}

void glDisable(GLenum cap) {
    if (!list_records([cap] { glDisable(cap); })) enable(cap, false, "glDisable");
}

GLboolean glIsEnabled(GLenum cap) {
    Context* c = current();
    if (!c) return GL_FALSE;
    if (cap == gl_multisample) return GL_FALSE;  // no multisample buffers here
    bool* flag = capability(*c, cap);
    if (!flag) unimplemented("glIsEnabled", cap);
    return flag && *flag ? GL_TRUE : GL_FALSE;
}

void glBlendFunc(GLenum source, GLenum destination) {
    with_context([=](Context& c) { c.raster.blend_src = source, c.raster.blend_dst = destination; });
}

void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    with_context([=](Context& c) {
        bool* m = c.raster.colour_mask;
        m[0] = r, m[1] = g, m[2] = b, m[3] = a;
    });
}

void glDepthMask(GLboolean flag) {
    with_context([=](Context& c) { c.raster.depth_mask = flag; });
}

void glDepthFunc(GLenum func) {
    with_context([=](Context& c) { c.raster.depth_func = func; });
}

void glStencilFunc(GLenum func, GLint ref, GLuint mask) {
    with_context([=](Context& c) {
        c.raster.stencil_func = func, c.raster.stencil_ref = ref, c.raster.stencil_value_mask = mask;
    });
}

void glStencilOp(GLenum fail, GLenum depth_fail, GLenum pass) {
    with_context([=](Context& c) {
        c.raster.stencil_fail = fail, c.raster.stencil_depth_fail = depth_fail, c.raster.stencil_pass = pass;
    });
}

void glCullFace(GLenum mode) {
    with_context([=](Context& c) { c.raster.cull_face = mode; });
}

void glFrontFace(GLenum mode) {
    with_context([=](Context& c) { c.raster.front_face = mode; });
}

// Colours are always interpolated: flat shading is not implemented.
void glShadeModel(GLenum mode) {
    if (mode != gl_smooth) unimplemented("glShadeModel", mode);
}

// ES interpolates with perspective correction always, and there is no fog:
// the hints the demo gives ask for what happens anyway.
void glHint(GLenum target, GLenum mode) {
    if (target != gl_perspective_correction_hint && target != gl_fog_hint) unimplemented("glHint", target);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    with_context([=](Context& c) {
        GLint* v = c.raster.viewport;
        v[0] = x, v[1] = y, v[2] = width, v[3] = height;
    });
}

void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    with_context([=](Context& c) {
        float* v = c.raster.clear_colour;
        v[0] = r, v[1] = g, v[2] = b, v[3] = a;
    });
}

void glClearStencil(GLint s) {
    with_context([=](Context& c) { c.raster.clear_stencil = s; });
}

void glClear(GLbitfield mask) {
    if (!list_records([mask] { glClear(mask); })) clear(mask);
}

// A target has one colour buffer, the back buffer the passes draw into.
void glDrawBuffer(GLenum buffer) {
    if (buffer != gl_back_buffer) unimplemented("glDrawBuffer", buffer);
}

void glReadBuffer(GLenum buffer) {
    if (buffer != gl_back_buffer) unimplemented("glReadBuffer", buffer);
}

void glPixelStorei(GLenum name, GLint value) {
    Context* c = current();
    if (!c) return;
    if (name == GL_PACK_ALIGNMENT)
        c->pack_alignment = value;
    else if (name == GL_UNPACK_ALIGNMENT)
        c->unpack_alignment = value;
    else
        unimplemented("glPixelStorei", name);
}

// The target's rows lie top down: they are read as RGBA and handed out
// bottom first, in the format asked for, with the pack alignment.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels) {
    Context* c = current();
    if (!c || !c->target || width <= 0 || height <= 0) return;
    if ((format != GL_RGB && format != GL_RGBA) || type != GL_UNSIGNED_BYTE) {
        unimplemented("glReadPixels", format);
        return;
    }
    bind_framebuffer();
    std::vector<GLubyte> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    es().PixelStorei(GL_PACK_ALIGNMENT, 4);
    es().ReadPixels(x, c->target->height - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const std::size_t channels = format == GL_RGB ? 3 : 4;
    const std::size_t align = static_cast<std::size_t>(c->pack_alignment > 0 ? c->pack_alignment : 1);
    const std::size_t row = (static_cast<std::size_t>(width) * channels + align - 1) / align * align;
    auto* out = static_cast<GLubyte*>(pixels);
    for (GLsizei r = 0; r < height; ++r) {
        const GLubyte* from = rgba.data() + static_cast<std::size_t>(height - 1 - r) * static_cast<std::size_t>(width) * 4;
        GLubyte* to = out + static_cast<std::size_t>(r) * row;
        for (GLsizei i = 0; i < width; ++i)
            for (std::size_t k = 0; k < channels; ++k) to[static_cast<std::size_t>(i) * channels + k] = from[i * 4 + k];
    }
}

const GLubyte* glGetString(GLenum name) {
    if (name == GL_VERSION) {
        version_text = offered_version();
        return reinterpret_cast<const GLubyte*>(version_text.c_str());
    }
    if (name == GL_EXTENSIONS) {
        static const std::string extensions = offered_extensions();
        return reinterpret_cast<const GLubyte*>(extensions.c_str());
    }
    return es().GetString(name);
}

GLenum glGetError() { return es().GetError(); }
void glFinish() { es().Finish(); }

void glLightf(GLenum light, GLenum name, GLfloat value) {
    if (light != gl_light1 || name < gl_constant_attenuation || name > gl_quadratic_attenuation) {
        unimplemented("glLightf", name);
        return;
    }
    with_context([=](Context& c) { c.light.attenuation[name - gl_constant_attenuation] = value; });
}

// A position is kept in eye coordinates, through the modelview matrix at
// the time of the call.
void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (light != gl_light1 || (name != gl_ambient && name != gl_diffuse && name != gl_position)) {
        unimplemented("glLightfv", name);
        return;
    }
    const float v[4] = {values[0], values[1], values[2], values[3]};
    with_context([=](Context& c) {
        float* to = name == gl_ambient ? c.light.ambient : name == gl_diffuse ? c.light.diffuse : c.light.position;
        if (name == gl_position)
            mat_apply(c.modelview.back(), v, to);
        else
            for (int i = 0; i < 4; ++i) to[i] = v[i];
    });
}

void glLightModelfv(GLenum name, const GLfloat* values) {
    if (name != gl_light_model_ambient) {
        unimplemented("glLightModelfv", name);
        return;
    }
    const float v[4] = {values[0], values[1], values[2], values[3]};
    with_context([=](Context& c) {
        for (int i = 0; i < 4; ++i) c.model_ambient[i] = v[i];
    });
}

void glTexGeni(GLenum coordinate, GLenum name, GLint value) {
    if ((coordinate != gl_s && coordinate != gl_t) || name != gl_texture_gen_mode ||
        value != static_cast<GLint>(gl_sphere_map)) {
        unimplemented("glTexGeni", static_cast<GLenum>(value));
        return;
    }
    with_context([=](Context& c) { (coordinate == gl_s ? c.texgen_mode_s : c.texgen_mode_t) = gl_sphere_map; });
}

void glGenTextures(GLsizei n, GLuint* names) { es().GenTextures(n, names); }

void glDeleteTextures(GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) texture_forget(names[i]);
    es().DeleteTextures(n, names);
    pipeline_reset();
}

void glBindTexture(GLenum target, GLuint name) {
    if (target != GL_TEXTURE_2D) unimplemented("glBindTexture", target);
    with_context([=](Context& c) { c.texture = name; });
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
    Context* c = current();
    if (!c || target != GL_TEXTURE_2D) return;
    TextureParameters& p = texture_parameters(c->texture);
    switch (name) {
        case GL_TEXTURE_MAG_FILTER: p.mag = value; break;
        case GL_TEXTURE_MIN_FILTER: p.min = value; break;
        case GL_TEXTURE_WRAP_S: p.wrap_s = value; break;
        case GL_TEXTURE_WRAP_T: p.wrap_t = value; break;
        default: unimplemented("glTexParameteri", name); return;
    }
    bind_texture_name(c->texture);
    es().TexParameteri(GL_TEXTURE_2D, name, wrap_mode(value));
}

// ES takes the format of the pixels as the texture's; the demo's are RGBA
// bytes.
void glTexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels) {
    Context* c = current();
    if (!c) return;
    if (target != GL_TEXTURE_2D || internal_format != GL_RGBA || format != GL_RGBA || type != GL_UNSIGNED_BYTE ||
        border != 0) {
        unimplemented("glTexImage2D", static_cast<GLenum>(internal_format));
        return;
    }
    bind_texture_name(c->texture);
    es().PixelStorei(GL_UNPACK_ALIGNMENT, c->unpack_alignment);
    es().TexImage2D(GL_TEXTURE_2D, level, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    texture_has_image(c->texture);
    if (level == 0) {
        texture_parameters(c->texture).width = width;
        texture_parameters(c->texture).height = height;
    }
}

void glMatrixMode(GLenum mode) {
    if (mode != gl_modelview && mode != gl_projection) unimplemented("glMatrixMode", mode);
    with_context([=](Context& c) { c.matrix_mode = mode; });
}

void glLoadIdentity() {
    with_context([](Context& c) { matrix_stack(c).back() = mat_identity(); });
}

void glPushMatrix() {
    with_context([](Context& c) {
        std::vector<Mat4>& stack = matrix_stack(c);
        stack.push_back(stack.back());
    });
}

void glPopMatrix() {
    with_context([](Context& c) {
        std::vector<Mat4>& stack = matrix_stack(c);
        if (stack.size() > 1) stack.pop_back();
    });
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    with_context([=](Context& c) {
        Mat4& top = matrix_stack(c).back();
        top = mat_multiply(top, mat_translate(x, y, z));
    });
}

void glRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z) {
    with_context([=](Context& c) {
        Mat4& top = matrix_stack(c).back();
        top = mat_multiply(top, mat_rotate(degrees, x, y, z));
    });
}

void glFrustum(double left, double right, double bottom, double top, double near_value, double far_value) {
    with_context([=](Context& c) {
        Mat4& m = matrix_stack(c).back();
        m = mat_multiply(m, mat_frustum(left, right, bottom, top, near_value, far_value));
    });
}

}  // namespace calls

}  // namespace gles
