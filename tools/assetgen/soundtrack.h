// The soundtrack: synthesized, mastered and encoded to Ogg Vorbis.
#pragma once

#include <string>

#include "score.h"

// Every stem composed on its own, on up to `workers` threads.
Stems synthesize_stems(int workers);

// Mixes and masters the stems (which it changes) and encodes the result.
bool write_soundtrack(const std::string& path, Stems& stems);
