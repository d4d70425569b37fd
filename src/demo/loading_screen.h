// The loading picture, shown while the demo precalculates.
#pragma once

#include <cstdint>

struct HalfExtents {
    float width;
    float height;
};

// Half width and half height, at distance 1, of the quad that shows a
// picture of `width` x `height` pixels at one texel per screen pixel.
HalfExtents loading_half_extents(std::uint32_t width, std::uint32_t height);

// Shows "pool/loading.png" at its pixel size in the middle of the drawing
// area, dimmed by `progress` (0 full brightness, 1 black), and swaps.
void loading_screen(double progress);
