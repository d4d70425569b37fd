// The soundtrack: synthesized, mastered and encoded to Ogg Vorbis.
#pragma once

#include <string>

bool write_soundtrack(const std::string& path);
