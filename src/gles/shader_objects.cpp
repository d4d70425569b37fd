#include "gles/shader_objects.h"

#include <cstring>
#include <map>
#include <vector>

#include "gles/calls.h"
#include "gles/es_api.h"
#include "gles/fixed_program.h"
#include "gles/legacy_enums.h"
#include "gles/pipeline.h"
#include "gles/proc_table.h"
#include "gles/report.h"
#include "gles/state.h"

namespace gles {

namespace {

using Handle = unsigned int;

// The inputs a translated vertex stage reads in place of the desktop ones.
const char* const vertex_prelude =
    "attribute vec4 heden_vertex;\n"
    "attribute vec4 heden_multi_tex_coord0;\n"
    "uniform mat4 heden_mvp;\n"
    "uniform vec2 heden_flip;\n"
    "vec4 heden_ftransform() { return heden_mvp * heden_vertex; }\n"
    "vec4 heden_tex_coord0() {\n"
    "    return vec4(heden_multi_tex_coord0.x, heden_flip.x + heden_flip.y * heden_multi_tex_coord0.y,\n"
    "                heden_multi_tex_coord0.zw);\n"
    "}\n";

// GL_CLAMP holds a coordinate to [0, 1] and then filters with the border
// colour: a blur tap beyond the edge reads half the edge texel. ES clamps
// to the border only, so the translated stage holds the coordinates itself
// where the texture asks for GL_CLAMP (heden_clamp, per axis). A driver
// without border clamping (WebGL 2, ES 3.0) samples the edge texel there
// instead: the stage then fades the sample to the black border by the
// border's share of the linear filter, up to a half at the very edge
// (heden_edge: the texture's size, and per axis whether to fade).
const char* const fragment_prelude =
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
    "precision highp float;\n"
    "#else\n"
    "precision mediump float;\n"
    "#endif\n"
    "uniform vec2 heden_clamp;\n"
    "uniform vec4 heden_edge;\n"
    "vec4 heden_texture2D(sampler2D image, vec2 uv) {\n"
    "    vec2 held = mix(uv, clamp(uv, 0.0, 1.0), heden_clamp);\n"
    "    vec2 border = heden_edge.zw * max(vec2(0.0), abs(held - 0.5) * heden_edge.xy - 0.5 * heden_edge.xy + 0.5);\n"
    "    return texture2D(image, held) * (1.0 - border.x) * (1.0 - border.y);\n"
    "}\n";

void replace_all(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

struct Locations {
    GLint mvp = -1, flip = -1, clamp = -1, edge = -1;
};
std::map<GLuint, Locations> program_locations;

GLenum shader_type(Handle shader) {
    GLint type = 0;
    es().GetShaderiv(shader, GL_SHADER_TYPE, &type);
    return static_cast<GLenum>(type);
}

bool is_program(Handle object) { return es().IsProgram(object) == GL_TRUE; }

void glDeleteObjectARB(Handle object) {
    if (is_program(object)) {
        program_locations.erase(object);
        es().DeleteProgram(object);
    } else {
        es().DeleteShader(object);
    }
}

Handle glGetHandleARB(GLenum name) {
    if (name == gl_program_object) return current() ? current()->program : 0;
    unimplemented("glGetHandleARB", name);
    return 0;
}

void glDetachObjectARB(Handle program, Handle shader) { es().DetachShader(program, shader); }
Handle glCreateShaderObjectARB(GLenum type) { return es().CreateShader(type); }

void glShaderSourceARB(Handle shader, GLsizei count, const char** lines, const GLint* lengths) {
    std::string text;
    for (GLsizei i = 0; i < count; ++i)
        text.append(lines[i], lengths && lengths[i] >= 0 ? static_cast<std::size_t>(lengths[i]) : std::strlen(lines[i]));
    std::string translated = shader_translate(shader_type(shader), text);
    const char* source = translated.c_str();
    es().ShaderSource(shader, 1, &source, nullptr);
}

void glCompileShaderARB(Handle shader) { es().CompileShader(shader); }
Handle glCreateProgramObjectARB() { return es().CreateProgram(); }
void glAttachObjectARB(Handle program, Handle shader) { es().AttachShader(program, shader); }

void glLinkProgramARB(Handle program) {
    es().BindAttribLocation(program, attribute_position, "heden_vertex");
    es().BindAttribLocation(program, attribute_texcoord, "heden_multi_tex_coord0");
    es().LinkProgram(program);
    program_locations[program] = {es().GetUniformLocation(program, "heden_mvp"),
                                  es().GetUniformLocation(program, "heden_flip"),
                                  es().GetUniformLocation(program, "heden_clamp"),
                                  es().GetUniformLocation(program, "heden_edge")};
}

void glUseProgramObjectARB(Handle program) {
    if (Context* c = current()) c->program = program;
}

void glValidateProgramARB(Handle program) { es().ValidateProgram(program); }

// Uniforms are set on the program in use, which the library makes current
// in ES only when it draws.
void with_program(void (*set)(GLint, const float*), GLint location, const float* values) {
    Context* c = current();
    if (!c || !c->program) return;
    es().UseProgram(c->program);
    set(location, values);
    pipeline_program_used(c->program);
}

void glUniform1fARB(GLint location, GLfloat v0) {
    const float v[1] = {v0};
    with_program([](GLint l, const float* x) { es().Uniform1f(l, x[0]); }, location, v);
}
void glUniform2fARB(GLint location, GLfloat v0, GLfloat v1) {
    const float v[2] = {v0, v1};
    with_program([](GLint l, const float* x) { es().Uniform2f(l, x[0], x[1]); }, location, v);
}
void glUniform3fARB(GLint location, GLfloat v0, GLfloat v1, GLfloat v2) {
    const float v[3] = {v0, v1, v2};
    with_program([](GLint l, const float* x) { es().Uniform3f(l, x[0], x[1], x[2]); }, location, v);
}
void glUniform4fARB(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3) {
    const float v[4] = {v0, v1, v2, v3};
    with_program([](GLint l, const float* x) { es().Uniform4f(l, x[0], x[1], x[2], x[3]); }, location, v);
}

// The ARB names of object parameters are the ES ones.
void object_parameter(Handle object, GLenum name, GLint* value) {
    if (name == gl_object_compile_status || name == gl_object_link_status || name == gl_object_info_log_length) {
        if (is_program(object))
            es().GetProgramiv(object, name, value);
        else
            es().GetShaderiv(object, name, value);
        return;
    }
    unimplemented("glGetObjectParameterivARB", name);
}

void glGetObjectParameterivARB(Handle object, GLenum name, GLint* value) { object_parameter(object, name, value); }

void glGetObjectParameterfvARB(Handle object, GLenum name, GLfloat* value) {
    GLint v = 0;
    object_parameter(object, name, &v);
    *value = static_cast<float>(v);
}

void glGetInfoLogARB(Handle object, GLsizei size, GLsizei* length, char* log) {
    if (is_program(object))
        es().GetProgramInfoLog(object, size, length, log);
    else
        es().GetShaderInfoLog(object, size, length, log);
}

void glGetAttachedObjectsARB(Handle program, GLsizei max, GLsizei* count, Handle* objects) {
    es().GetAttachedShaders(program, max, count, objects);
}

GLint glGetUniformLocationARB(Handle program, const char* name) { return es().GetUniformLocation(program, name); }

void glGetShaderSourceARB(Handle shader, GLsizei size, GLsizei* length, char* source) {
    es().GetShaderSource(shader, size, length, source);
}

const ProcEntry entries[] = {
    HEDEN_PROC(glDeleteObjectARB),       HEDEN_PROC(glGetHandleARB),          HEDEN_PROC(glDetachObjectARB),
    HEDEN_PROC(glCreateShaderObjectARB), HEDEN_PROC(glShaderSourceARB),       HEDEN_PROC(glCompileShaderARB),
    HEDEN_PROC(glCreateProgramObjectARB), HEDEN_PROC(glAttachObjectARB),      HEDEN_PROC(glLinkProgramARB),
    HEDEN_PROC(glUseProgramObjectARB),   HEDEN_PROC(glValidateProgramARB),    HEDEN_PROC(glUniform1fARB),
    HEDEN_PROC(glUniform2fARB),          HEDEN_PROC(glUniform3fARB),          HEDEN_PROC(glUniform4fARB),
    HEDEN_PROC(glGetObjectParameterfvARB), HEDEN_PROC(glGetObjectParameterivARB), HEDEN_PROC(glGetInfoLogARB),
    HEDEN_PROC(glGetAttachedObjectsARB), HEDEN_PROC(glGetUniformLocationARB), HEDEN_PROC(glGetShaderSourceARB),
};

}  // namespace

std::string shader_translate(GLenum type, const std::string& text) {
    std::string body = text;
    if (type != GL_VERTEX_SHADER) {
        replace_all(body, "texture2D(", "heden_texture2D(");
        return fragment_prelude + body;
    }
    replace_all(body, "ftransform()", "heden_ftransform()");
    replace_all(body, "gl_MultiTexCoord0", "heden_tex_coord0()");
    replace_all(body, "gl_Vertex", "heden_vertex");
    return vertex_prelude + body;
}

void shader_objects_transform(GLuint program, const Mat4& mvp, bool flipped_texture, const TextureParameters& texture) {
    auto found = program_locations.find(program);
    if (found == program_locations.end()) return;
    es().UniformMatrix4fv(found->second.mvp, 1, GL_FALSE, mvp.m);
    es().Uniform2f(found->second.flip, flipped_texture ? 1.0f : 0.0f, flipped_texture ? -1.0f : 1.0f);
    bool clamp_s = texture.wrap_s == static_cast<GLint>(gl_clamp), clamp_t = texture.wrap_t == static_cast<GLint>(gl_clamp);
    es().Uniform2f(found->second.clamp, clamp_s ? 1.0f : 0.0f, clamp_t ? 1.0f : 0.0f);
    // Only a linear filter reaches the border of a held coordinate.
    bool fade = !border_clamp_offered() && (texture.mag == GL_LINEAR || texture.min == GL_LINEAR);
    es().Uniform4f(found->second.edge, static_cast<float>(texture.width), static_cast<float>(texture.height),
                   fade && clamp_s ? 1.0f : 0.0f, fade && clamp_t ? 1.0f : 0.0f);
}

void* shader_objects_proc(const char* name) {
    return proc_lookup(entries, name);
}

}  // namespace gles
