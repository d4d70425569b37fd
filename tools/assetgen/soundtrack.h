// The soundtrack: synthesized, mastered and encoded to Ogg Vorbis.
#pragma once

#include <string>

// The stems are synthesized on up to `workers` threads.
bool write_soundtrack(const std::string& path, int workers);
