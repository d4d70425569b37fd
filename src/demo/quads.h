// Textured quads facing the viewer, at depth -1 unless given: the screen's
// plane at distance 1, where the view's half extents are w and h.
#pragma once

#include "gl/glext.h"

// One corner: texture coordinate (s, t) at (x, y, z).
inline void quad_corner(float s, float t, float x, float y, float z = -1) {
    glTexCoord2f(s, t);
    glVertex3f(x, y, z);
}

// The corners of the quad from (x0, y0) to (x1, y1) showing the texture
// rectangle (s0, t0) to (s1, t1), counter-clockwise from (x0, y0), inside a
// glBegin(GL_QUADS) of the caller's.
inline void screen_quad(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1,
                        float z = -1) {
    quad_corner(s0, t0, x0, y0, z);
    quad_corner(s1, t0, x1, y0, z);
    quad_corner(s1, t1, x1, y1, z);
    quad_corner(s0, t1, x0, y1, z);
}

// That quad on its own.
inline void quad_draw(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1, float z = -1) {
    glBegin(GL_QUADS);
    screen_quad(x0, y0, x1, y1, s0, t0, s1, t1, z);
    glEnd();
}

// The whole view with the whole texture.
inline void full_screen_quad(float w, float h) { quad_draw(-w, -h, w, h, 0, 0, 1, 1); }

// Half size (x, y) around the middle with the texture flipped upright: (1, 0)
// at the top right, counter-clockwise.
inline void upright_quad(float x, float y) { quad_draw(x, y, -x, -y, 1, 0, 0, 1); }
