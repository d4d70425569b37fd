// Filling the texture table: the PNGs with their treatments, the generated
// grain, and the three sky sets.
#pragma once

#include <cstdint>

// Green-keyed pictures: pure green (0, 255, 0) becomes opaque black with
// alpha 255 and every other pixel gets alpha 0, because the overlays blend
// with (1 - source alpha, source alpha).
void key_green(std::uint8_t* pixels, std::uint32_t count);

// Noise pictures carry their red channel added into alpha.
void red_into_alpha(std::uint8_t* pixels, std::uint32_t count);

// The 256 x 256 film grain from the shared random sequence (which it moves
// on by 1337 first): per pixel alpha in [192, 255), then grey in [0, 255).
void grain_generate(std::uint8_t* pixels);
constexpr int grain_size = 256;

// Loads every texture of the table in its fixed order, each picture decoded
// into `pixels` (room for `bytes`, at least the grain's 256 x 256 x 4) and
// uploaded from there.
void texture_table_fill(std::uint8_t* pixels, std::uint32_t bytes);
