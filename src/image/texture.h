// GL textures addressed by slot, and the loading screen.
#pragma once

#include <cstdint>

constexpr int texture_slots = 32;
extern std::uint32_t texture_table[texture_slots];

// Uploads width x height RGBA bytes as a new texture in `slot` (linear
// filtering, no mipmaps; clamped to the edge when `clamp` is set) and leaves
// it bound. The texture the slot named before is deleted.
void texture_create(const std::uint8_t* pixels, int width, int height, int slot, int clamp);

// Half width and half height of the loading picture's quad at distance 1.
extern float loading_half_width;
extern float loading_half_height;

// Shows "pool/loading.png" at its pixel size in the middle of the drawing
// area, dimmed by `progress` (0 full brightness, 1 black), and swaps.
void loading_screen(double progress);
