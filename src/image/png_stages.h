// The stages of png_decode, in the order it runs them.
#pragma once

#include <cstdint>

#include "image/png.h"

// Signature and IHDR. Fills the header fields of `info`.
unsigned png_read_header(const std::uint8_t* data, std::uint32_t size, PngInfo* info);

// Walks the chunks after IHDR up to IEND, handling PLTE, tRNS and bKGD and
// gathering all IDAT data, in file order, at the start of `data`.
unsigned png_walk_chunks(std::uint8_t* data, std::uint32_t size, PngInfo* info, std::uint32_t* image_data_size);

// Bytes of filtered scanlines (filter bytes included) the image needs.
std::uint64_t png_scanline_bytes(const PngInfo& info);

// Reverses the filters and interlacing of `scanlines` into the raw image: one
// bit stream of width x height pixels of bits_per_pixel each, rows unpadded.
unsigned png_unfilter(const std::uint8_t* scanlines, const PngInfo& info, std::uint8_t* raw);

// Converts the raw image to 8-bit R, G, B, A.
unsigned png_convert(const std::uint8_t* raw, const PngInfo& info, std::uint8_t* rgba);
