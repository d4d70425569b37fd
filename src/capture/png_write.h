// Writes 8-bit RGB pictures as PNG files: filter 0 and stored deflate
// blocks, so any reader opens them and nothing is needed beyond stdio.
#pragma once

#include <cstdint>
#include <vector>

// The whole file for a `width` x `height` picture of RGB rows, top to
// bottom; empty when the size is zero or `rgb` is too short.
std::vector<std::uint8_t> png_encode_rgb(int width, int height, const std::uint8_t* rgb, std::size_t rgb_size);

// Encodes and writes to `path` through a temporary name, so that a failed
// write never leaves a file that looks whole. False, with a message on
// stderr, on any failure.
bool png_write_rgb(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb);
