// PCX pictures: run-length encoded, one plane with a 256-colour palette or
// several planes of 8 bits.
#pragma once

#include <cstdint>

#include "image/image.h"

// Decodes `size` bytes into `image`. One plane: pixels become the palette's
// bytes R, G, B, 0. Several planes: plane k writes byte 2 - k of each pixel;
// planes after the third are read but not stored, and byte 3 is not written.
// Returns 0, or -1 when the file is too short, its size is empty or needs
// more than image->capacity bytes; width and height are then 0.
int pcx_decode(const std::uint8_t* bytes, Image* image, std::int32_t size);

// Loads `path` through the file loader and decodes it. A missing file leaves
// `image` untouched.
void pcx_load(const char* path, Image* image);
