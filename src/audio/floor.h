// Floors: the coarse spectral envelope of each channel of a block.
#pragma once

#include <vector>

#include "audio/bit_reader.h"
#include "audio/vorbis_setup.h"

namespace audio {

// One channel's floor as read from the packet, kept until the residue has
// been decoded.
struct FloorData {
    bool used = false;
    int y[floor1_max_values] = {};   // floor 1: point amplitudes
    std::vector<float> coefficients; // floor 0: line spectral pairs
    int amplitude = 0;               // floor 0
};

// Reads a channel's floor; `out->used` is false when the channel is silent
// in this block (or its floor could not be read).
void floor_decode(const Floor& floor, const std::vector<Codebook>& books, BitReader& bits, FloorData* out);

// Multiplies the first n spectral lines by the floor curve.
void floor_apply(const Floor& floor, const FloorData& data, float* spectrum, int n);

}  // namespace audio
