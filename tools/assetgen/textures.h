// The pictures of pool/: every PNG texture and the two PCX icons.
#pragma once

#include <string>

// Writes them all under `pool`; false when a file could not be written.
bool write_pictures(const std::string& pool);
