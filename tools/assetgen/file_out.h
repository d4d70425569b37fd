// Writing the generated files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture.h"

// Writes bytes to a file, creating its folder; false (with a message on
// stderr) when it cannot.
bool write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// An 8-bit RGBA PNG (RGB when every alpha is 255), with no time stamp or
// other varying chunk, so equal pixels give equal files.
bool write_png(const std::string& path, const Pixels& pixels);

// A one-plane PCX with a 256-colour palette, run-length encoded.
bool write_pcx(const std::string& path, int width, int height, const std::vector<std::uint8_t>& indices,
               const std::uint8_t (&palette)[256][3]);
