// Small stand-ins for the files the program reads while it opens its window
// and shows the loading screen, for tests that must not touch the generated
// pool.
#pragma once

#include <string>
#include <vector>

namespace fake {

// Writes pool/icon.pcx (32 x 32) and pool/icons.pcx (16 x 16), palette
// pictures with a green border, and pool/loading.png (256 x 128, red left
// half, blue right half) into the current directory.
void write_start_up_files();

// Writes small stand-ins for everything start-up loads after the loading
// picture (shader texts, the dolphin, textures, skies, stored meshes) and
// returns their paths in the order the program reads them. The music is
// left to the caller.
std::vector<std::string> write_demo_files();

}  // namespace fake
