// Small stand-ins for the files the program reads while it opens its window
// and shows the loading screen, for tests that must not touch the generated
// pool.
#pragma once

namespace fake {

// Writes pool/icon.pcx (32 x 32) and pool/icons.pcx (16 x 16), palette
// pictures with a green border, and pool/loading.png (256 x 128, red left
// half, blue right half) into the current directory.
void write_start_up_files();

}  // namespace fake
