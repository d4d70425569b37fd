// The decoded-picture record shared by the PNG and PCX loaders.
#pragma once

#include <cstdint>

struct Image {
    std::uint32_t width;
    std::uint32_t height;
    // Set to 24 by both loaders; nothing reads it.
    int bits;
    // Caller-owned buffer of width x height 32-bit pixels, rows top to bottom.
    std::uint8_t* pixels;
    // Bytes the caller allocated at `pixels`. The loaders refuse any picture
    // that would not fit, so one buffer can safely serve many images.
    std::uint32_t capacity;
    // How the loader laid out a pixel: bytes R, G, B (PNG, palette PCX) or
    // B, G, R (PCX of several planes, which stores its first plane in byte 2).
    bool blue_first = false;
};
