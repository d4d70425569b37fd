#include "gles/fixed_program.h"

#include <cstdio>
#include <map>

#include "gles/es_api.h"
#include "gles/report.h"

namespace gles {

namespace {

// Lighting follows the desktop driver's fixed-function program: one
// positional light with attenuation, no specular term (GL_LIGHT1's
// specular colour is black), the material's diffuse alpha; sphere mapping
// reflects the normalised eye vector about the untransformed-length normal.
const char* const vertex_body = R"(
attribute vec4 a_position;
attribute vec3 a_normal;
attribute vec2 a_texcoord;
attribute vec4 a_colour;
uniform mat4 u_modelview;
uniform mat4 u_projection;
uniform mat3 u_normal_matrix;
uniform vec2 u_flip;
uniform vec4 u_scene_colour;
uniform vec4 u_light_position;
uniform vec4 u_light_ambient;
uniform vec4 u_light_diffuse;
uniform vec3 u_attenuation;
varying vec4 v_colour;
varying vec2 v_texcoord;
invariant gl_Position;
void main() {
    vec4 eye = u_modelview * a_position;
    gl_Position = u_projection * eye;
    vec3 n = u_normal_matrix * a_normal;
#if LIGHTING
    vec4 c = u_scene_colour;
#if LIGHT1
    vec3 to_light = u_light_position.xyz - eye.xyz * u_light_position.w;
    float distance = length(to_light);
    float attenuation = 1.0;
    if (u_light_position.w != 0.0)
        attenuation = 1.0 / (u_attenuation.x + u_attenuation.y * distance + u_attenuation.z * distance * distance);
    float lambert = max(dot(n, to_light / distance), 0.0);
    c.rgb += attenuation * (u_light_ambient.rgb + lambert * u_light_diffuse.rgb);
#endif
    v_colour = clamp(c, 0.0, 1.0);
#else
    v_colour = clamp(a_colour, 0.0, 1.0);
#endif
#if SPHERE_MAP
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * dot(n, u) * n;
    vec3 m = r + vec3(0.0, 0.0, 1.0);
    vec2 t = r.xy * (0.5 * inversesqrt(dot(m, m))) + 0.5;
#else
    vec2 t = a_texcoord;
#endif
    v_texcoord = vec2(t.x, u_flip.x + u_flip.y * t.y);
}
)";

const char* const fragment_body = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D u_texture;
varying vec4 v_colour;
varying vec2 v_texcoord;
void main() {
#if TEXTURE
    gl_FragColor = v_colour * texture2D(u_texture, v_texcoord);
#else
    gl_FragColor = v_colour;
#endif
}
)";

std::string define(const char* name, bool on) { return std::string("#define ") + name + (on ? " 1\n" : " 0\n"); }

GLuint compiled(GLenum type, const std::string& source) {
    GLuint shader = es().CreateShader(type);
    const char* text = source.c_str();
    es().ShaderSource(shader, 1, &text, nullptr);
    es().CompileShader(shader);
    GLint status = 0;
    es().GetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (!status) {
        char log[2048] = {};
        es().GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "heden: a generated shader did not compile: %s\n", log);
    }
    return shader;
}

FixedProgram locations(GLuint program) {
    FixedProgram p;
    p.program = program;
    auto at = [&](const char* name) { return es().GetUniformLocation(program, name); };
    p.modelview = at("u_modelview");
    p.projection = at("u_projection");
    p.normal_matrix = at("u_normal_matrix");
    p.flip = at("u_flip");
    p.sampler = at("u_texture");
    p.scene_colour = at("u_scene_colour");
    p.light_position = at("u_light_position");
    p.light_ambient = at("u_light_ambient");
    p.light_diffuse = at("u_light_diffuse");
    p.attenuation = at("u_attenuation");
    return p;
}

}  // namespace

std::string fixed_vertex_source(const FixedKey& key) {
    return define("LIGHTING", key.lighting) + define("LIGHT1", key.light1) + define("SPHERE_MAP", key.sphere_map) +
           vertex_body;
}

std::string fixed_fragment_source(const FixedKey& key) { return define("TEXTURE", key.texture) + fragment_body; }

GLuint program_build(const std::string& vertex, const std::string& fragment) {
    GLuint program = es().CreateProgram();
    GLuint shaders[2] = {compiled(GL_VERTEX_SHADER, vertex), compiled(GL_FRAGMENT_SHADER, fragment)};
    for (GLuint shader : shaders) es().AttachShader(program, shader);
    es().BindAttribLocation(program, attribute_position, "a_position");
    es().BindAttribLocation(program, attribute_normal, "a_normal");
    es().BindAttribLocation(program, attribute_texcoord, "a_texcoord");
    es().BindAttribLocation(program, attribute_colour, "a_colour");
    es().LinkProgram(program);
    for (GLuint shader : shaders) es().DeleteShader(shader);
    GLint linked = 0;
    es().GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) return program;
    char log[2048] = {};
    es().GetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "heden: a generated program did not link: %s\n", log);
    es().DeleteProgram(program);
    return 0;
}

const FixedProgram& fixed_program(const FixedKey& key) {
    static std::map<int, FixedProgram> made;
    auto found = made.find(key.index());
    if (found != made.end()) return found->second;
    GLuint program = program_build(fixed_vertex_source(key), fixed_fragment_source(key));
    if (!program) unimplemented("a fixed-function state combination", static_cast<GLenum>(key.index()));
    return made[key.index()] = locations(program);
}

}  // namespace gles
