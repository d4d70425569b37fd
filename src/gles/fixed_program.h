// The fixed-function pipeline as the scenes use it, one generated ES
// program per combination of state that occurs, made on first use and kept.
#pragma once

#include <GLES2/gl2.h>

#include <string>

namespace gles {

// Vertex attribute slots, shared with the translated shader programs.
enum Attribute : GLuint { attribute_position = 0, attribute_normal = 1, attribute_texcoord = 2, attribute_colour = 3 };

// The state that picks a program.
struct FixedKey {
    bool texture = false;  // GL_TEXTURE_2D on with a texture bound: colour times texel
    bool lighting = false; // GL_LIGHTING: colour from the material and light
    bool light1 = false;   // GL_LIGHT1 on (with lighting)
    bool sphere_map = false;  // sphere-map generation of s and t

    int index() const { return (texture ? 1 : 0) | (lighting ? 2 : 0) | (light1 ? 4 : 0) | (sphere_map ? 8 : 0); }
};

struct FixedProgram {
    GLuint program = 0;
    GLint modelview = -1, projection = -1, normal_matrix = -1, flip = -1, sampler = -1;
    GLint scene_colour = -1, light_position = -1, light_ambient = -1, light_diffuse = -1, attenuation = -1;
};

// The sources for a key (for tests and for the build below).
std::string fixed_vertex_source(const FixedKey& key);
std::string fixed_fragment_source(const FixedKey& key);

// The program for the key, built the first time; program 0 when it does
// not build (which the report names).
const FixedProgram& fixed_program(const FixedKey& key);

// Compiles and links with the library's attribute slots; 0 on failure,
// with the info logs on standard error.
GLuint program_build(const std::string& vertex, const std::string& fragment);

}  // namespace gles
