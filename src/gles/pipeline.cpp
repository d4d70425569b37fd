#include "gles/pipeline.h"

#include <cstddef>
#include <map>
#include <set>

#include "gles/es_api.h"
#include "gles/fixed_program.h"
#include "gles/shader_objects.h"

namespace gles {

namespace {

// What ES has been told; `known` false until the first draw after a reset.
struct Applied {
    bool known = false;          // the raster state and framebuffer
    bool objects_known = false;  // texture, program, buffer and arrays
    Raster raster;
    GLuint framebuffer = 0, program = 0, texture = 0, buffer = 0;
    unsigned arrays = 0;
};

Applied applied;
GLuint stream_buffer;
std::map<GLuint, TextureParameters> parameters;
std::set<GLuint> with_image;

void set_flag(GLenum cap, bool want, bool& have) {
    if (applied.known && want == have) return;
    if (want)
        es().Enable(cap);
    else
        es().Disable(cap);
    have = want;
}

// Framebuffer objects are drawn upside down: the rows of the picture then
// lie top down in memory as a window's do, and the rasteriser makes the
// same pixels a window-system buffer gets. y runs the other way, and with
// it the viewport, the winding of front faces and the rows read back.
void apply_flipped_geometry(const Raster& want, const Target& target) {
    Raster& have = applied.raster;
    GLint y = target.height - want.viewport[1] - want.viewport[3];
    if (!applied.known || have.viewport[0] != want.viewport[0] || have.viewport[1] != y ||
        have.viewport[2] != want.viewport[2] || have.viewport[3] != want.viewport[3]) {
        es().Viewport(want.viewport[0], y, want.viewport[2], want.viewport[3]);
        have.viewport[0] = want.viewport[0], have.viewport[1] = y;
        have.viewport[2] = want.viewport[2], have.viewport[3] = want.viewport[3];
    }
    GLenum front = want.front_face == GL_CCW ? GL_CW : GL_CCW;
    if (!applied.known || have.front_face != front) es().FrontFace(have.front_face = front);
}

void apply_masks(const Raster& want) {
    Raster& have = applied.raster;
    const bool* c = want.colour_mask;
    bool* h = have.colour_mask;
    if (!applied.known || c[0] != h[0] || c[1] != h[1] || c[2] != h[2] || c[3] != h[3]) {
        es().ColorMask(c[0], c[1], c[2], c[3]);
        for (int i = 0; i < 4; ++i) h[i] = c[i];
    }
    if (!applied.known || have.depth_mask != want.depth_mask) es().DepthMask(have.depth_mask = want.depth_mask);
}

void apply_tests(const Raster& want) {
    Raster& have = applied.raster;
    set_flag(GL_BLEND, want.blend, have.blend);
    set_flag(GL_DEPTH_TEST, want.depth_test, have.depth_test);
    set_flag(GL_STENCIL_TEST, want.stencil_test, have.stencil_test);
    set_flag(GL_CULL_FACE, want.cull, have.cull);
    set_flag(GL_DITHER, want.dither, have.dither);
    if (!applied.known || have.blend_src != want.blend_src || have.blend_dst != want.blend_dst)
        es().BlendFunc(have.blend_src = want.blend_src, have.blend_dst = want.blend_dst);
    if (!applied.known || have.blend_equation != want.blend_equation)
        es().BlendEquation(have.blend_equation = want.blend_equation);
    if (!applied.known || have.depth_func != want.depth_func) es().DepthFunc(have.depth_func = want.depth_func);
    if (!applied.known || have.stencil_func != want.stencil_func || have.stencil_ref != want.stencil_ref ||
        have.stencil_value_mask != want.stencil_value_mask)
        es().StencilFunc(have.stencil_func = want.stencil_func, have.stencil_ref = want.stencil_ref,
                         have.stencil_value_mask = want.stencil_value_mask);
    if (!applied.known || have.stencil_fail != want.stencil_fail ||
        have.stencil_depth_fail != want.stencil_depth_fail || have.stencil_pass != want.stencil_pass)
        es().StencilOp(have.stencil_fail = want.stencil_fail, have.stencil_depth_fail = want.stencil_depth_fail,
                       have.stencil_pass = want.stencil_pass);
    if (!applied.known || have.cull_face != want.cull_face) es().CullFace(have.cull_face = want.cull_face);
}

void apply_framebuffer(const Context& c) {
    GLuint framebuffer = c.target ? c.target->framebuffer : 0;
    if (applied.known && applied.framebuffer == framebuffer) return;
    es().BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    applied.framebuffer = framebuffer;
}

void apply_texture(GLuint texture) {
    if (applied.objects_known && applied.texture == texture) return;
    es().BindTexture(GL_TEXTURE_2D, texture);
    applied.texture = texture;
}

void apply_program(GLuint program) {
    if (applied.objects_known && applied.program == program) return;
    es().UseProgram(program);
    applied.program = program;
}

// The fixed-function state of a draw.
FixedKey fixed_key(const Context& c) {
    FixedKey key;
    key.texture = c.texture_2d && (bound_image(c) || with_image.count(c.texture));
    key.lighting = c.lighting;
    key.light1 = c.lighting && c.light1;
    key.sphere_map = c.texgen_s && c.texgen_t && c.texgen_mode_s == 0x2402 && c.texgen_mode_t == 0x2402;
    return key;
}

Mat4 drawn_projection(const Context& c) {
    Mat4 flip = mat_identity();
    flip.m[5] = -1;
    return mat_multiply(flip, c.projection.back());
}

void fixed_uniforms(const Context& c, const FixedProgram& p) {
    const Mat4& modelview = c.modelview.back();
    Mat4 projection = drawn_projection(c);
    float normal[9];
    mat_normal(modelview, normal);
    es().UniformMatrix4fv(p.modelview, 1, GL_FALSE, modelview.m);
    es().UniformMatrix4fv(p.projection, 1, GL_FALSE, projection.m);
    es().UniformMatrix3fv(p.normal_matrix, 1, GL_FALSE, normal);
    const bool flipped = bound_image(c) != nullptr;
    es().Uniform2f(p.flip, flipped ? 1.0f : 0.0f, flipped ? -1.0f : 1.0f);
    es().Uniform1i(p.sampler, 0);
    if (!c.lighting) return;
    // The default material: ambient 0.2, diffuse 0.8 with alpha 1, no
    // emission; the products with the light are what the program adds.
    const float ambient = 0.2f, diffuse = 0.8f;
    const Light& l = c.light;
    es().Uniform4f(p.scene_colour, c.model_ambient[0] * ambient, c.model_ambient[1] * ambient,
                   c.model_ambient[2] * ambient, 1.0f);
    es().Uniform4fv(p.light_position, 1, l.position);
    es().Uniform4f(p.light_ambient, l.ambient[0] * ambient, l.ambient[1] * ambient, l.ambient[2] * ambient, 0);
    es().Uniform4f(p.light_diffuse, l.diffuse[0] * diffuse, l.diffuse[1] * diffuse, l.diffuse[2] * diffuse, 0);
    es().Uniform3f(p.attenuation, l.attenuation[0], l.attenuation[1], l.attenuation[2]);
}

void user_uniforms(const Context& c) {
    Mat4 mvp = mat_multiply(drawn_projection(c), c.modelview.back());
    const Target* image = bound_image(c);
    TextureParameters texture = texture_parameters(c.texture);
    if (image) {
        texture.width = image->width;
        texture.height = image->height;
    }
    shader_objects_transform(c.program, mvp, image != nullptr, texture);
}

void apply_arrays(GLuint buffer, GLint first, unsigned arrays, const Context& c) {
    if (!applied.objects_known || applied.buffer != buffer) es().BindBuffer(GL_ARRAY_BUFFER, applied.buffer = buffer);
    const GLsizei stride = sizeof(Vertex);
    const char* base = reinterpret_cast<const char*>(static_cast<std::size_t>(first) * sizeof(Vertex));
    es().VertexAttribPointer(attribute_position, 4, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, position));
    es().VertexAttribPointer(attribute_normal, 3, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, normal));
    es().VertexAttribPointer(attribute_texcoord, 2, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, texcoord));
    es().VertexAttribPointer(attribute_colour, 4, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, colour));
    const unsigned bits[3] = {array_normal, array_texcoord, array_colour};
    const GLuint slots[3] = {attribute_normal, attribute_texcoord, attribute_colour};
    if (!applied.objects_known) es().EnableVertexAttribArray(attribute_position);
    for (int i = 0; i < 3; ++i) {
        bool want = (arrays & bits[i]) != 0, have = (applied.arrays & bits[i]) != 0;
        if (!applied.objects_known || want != have) {
            if (want)
                es().EnableVertexAttribArray(slots[i]);
            else
                es().DisableVertexAttribArray(slots[i]);
        }
    }
    applied.arrays = arrays;
    if (!(arrays & array_normal)) es().VertexAttrib4f(attribute_normal, c.normal[0], c.normal[1], c.normal[2], 1);
    if (!(arrays & array_texcoord)) es().VertexAttrib4f(attribute_texcoord, c.texcoord[0], c.texcoord[1], 0, 1);
    if (!(arrays & array_colour))
        es().VertexAttrib4f(attribute_colour, c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
}

void apply_state(const Context& c) {
    apply_framebuffer(c);
    if (c.target) apply_flipped_geometry(c.raster, *c.target);
    apply_masks(c.raster);
    apply_tests(c.raster);
}

}  // namespace

void pipeline_reset() { applied.known = applied.objects_known = false; }

TextureParameters& texture_parameters(GLuint name) { return parameters[name]; }
void texture_has_image(GLuint name) { with_image.insert(name); }
void texture_forget(GLuint name) {
    parameters.erase(name);
    with_image.erase(name);
}

void pipeline_program_used(GLuint program) {
    if (applied.objects_known) applied.program = program;
}

void bind_framebuffer() {
    if (Context* c = current()) apply_framebuffer(*c);
}

void bind_texture_name(GLuint name) {
    es().BindTexture(GL_TEXTURE_2D, name);
    if (applied.objects_known) applied.texture = name;
}

void draw_triangles(GLuint buffer, GLint first, GLsizei count, unsigned arrays) {
    Context* c = current();
    if (!c || count <= 0) return;
    apply_state(*c);
    const Target* image = bound_image(*c);
    apply_texture(image ? image->colour : c->texture);
    if (c->program) {
        apply_program(c->program);
        user_uniforms(*c);
    } else {
        const FixedProgram& p = fixed_program(fixed_key(*c));
        if (!p.program) return;
        apply_program(p.program);
        fixed_uniforms(*c, p);
    }
    apply_arrays(buffer, first, arrays, *c);
    applied.known = applied.objects_known = true;
    es().DrawArrays(GL_TRIANGLES, 0, count);
}

void draw_vertices(const Vertex* vertices, GLsizei count) {
    if (!stream_buffer) es().GenBuffers(1, &stream_buffer);
    es().BindBuffer(GL_ARRAY_BUFFER, stream_buffer);
    if (applied.objects_known) applied.buffer = stream_buffer;
    es().BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Vertex)), vertices, GL_STREAM_DRAW);
    draw_triangles(stream_buffer, 0, count, arrays_all);
}

void clear(GLbitfield mask) {
    Context* c = current();
    if (!c) return;
    apply_state(*c);
    applied.known = true;
    const Raster& r = c->raster;
    es().ClearColor(r.clear_colour[0], r.clear_colour[1], r.clear_colour[2], r.clear_colour[3]);
    es().ClearStencil(r.clear_stencil);
    es().Clear(mask);
}

}  // namespace gles
