// The sky box: six textured quads of half size 64 around the eye. The sky
// faces are rendered offline from the same corner table, so that every
// texel of a face shows exactly the direction it is drawn at.
#pragma once

namespace sky_box {

constexpr float half_size = 64.0f;
constexpr int face_count = 6;

// Texture slot offsets from the sky's first slot, in drawing order.
enum Face { front = 0, back = 1, left = 2, right = 3, up = 4, down = 5 };

// Corners of each face, in units of half_size, in the order that receives the
// texture coordinates (0,0), (1,0), (1,1), (0,1).
constexpr float corners[face_count][4][3] = {
    {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},  // front
    {{-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}},      // back
    {{-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}},  // left
    {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}},      // right
    {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}},  // up
    {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},      // down
};

// File name letters of the faces, in slot order.
constexpr char face_letters[face_count + 1] = "fblrud";

}  // namespace sky_box
