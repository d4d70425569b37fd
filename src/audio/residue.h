// Residues: the fine spectral detail of the channels of one submap.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/bit_reader.h"
#include "audio/vorbis_setup.h"

namespace audio {

struct ResidueScratch {
    std::vector<std::uint8_t> classes;  // per channel, per partition
    std::vector<float> interleaved;     // residue type 2
};

// Adds the decoded residue into `vectors` (n floats each, zeroed by the
// caller). Channels flagged in `skip` take no part. A packet that ends early
// leaves what was decoded so far.
void residue_decode(const Residue& residue, const std::vector<Codebook>& books, BitReader& bits,
                    float* const* vectors, const bool* skip, int channels, int n, ResidueScratch* scratch);

}  // namespace audio
