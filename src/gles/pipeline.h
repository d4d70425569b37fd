// Drawing with the current context's state: the ES state it implies is set
// where it differs from what ES was told last, then the triangles are drawn
// by the program for that state.
#pragma once

#include <GLES2/gl2.h>

#include "gles/state.h"

namespace gles {

// One vertex as immediate mode or a display list gives it.
struct Vertex {
    float position[4];
    float normal[3];
    float texcoord[2];
    float colour[4];
};

// Which attributes a vertex buffer carries; the others come from the
// context's current values.
enum : unsigned { array_normal = 1, array_texcoord = 2, array_colour = 4, arrays_all = 7 };

// Draws `count` vertices from `first` of `buffer` as triangles.
void draw_triangles(GLuint buffer, GLint first, GLsizei count, unsigned arrays);

// Uploads the vertices to the stream buffer and draws them.
void draw_vertices(const Vertex* vertices, GLsizei count);

// glClear under the context's masks and clear values.
void clear(GLbitfield mask);

// Binds the framebuffer the current context draws into (before reading).
void bind_framebuffer();

// Binds the context's texture name in ES (before texture calls).
void bind_texture_name(GLuint name);

// The program was made current in ES outside a draw.
void pipeline_program_used(GLuint program);

// Forgets what ES was told: everything is set anew before the next draw.
void pipeline_reset();

// Texture parameters by name, and whether the name has an image.
TextureParameters& texture_parameters(GLuint name);
void texture_has_image(GLuint name);
void texture_forget(GLuint name);

}  // namespace gles
