// GL textures addressed by slot.
#pragma once

#include <cstdint>

constexpr int texture_slots = 32;
extern std::uint32_t texture_table[texture_slots];

// Uploads width x height RGBA bytes as a new texture in `slot` (linear
// filtering, no mipmaps; clamped to the edge when `clamp` is set) and leaves
// it bound. The texture the slot named before is deleted.
void texture_create(const std::uint8_t* pixels, int width, int height, int slot, int clamp);
