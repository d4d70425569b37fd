// Decodes Vorbis audio packets into blocks of float samples.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/floor.h"
#include "audio/mdct.h"
#include "audio/residue.h"
#include "audio/vorbis_setup.h"

namespace audio {

class VorbisDecoder {
public:
    // Sizes every buffer for the stream; the setup must outlive the decoder.
    void init(const VorbisSetup* setup);

    // Forgets the previous block: the next packet primes the overlap and
    // yields nothing, as the first packet of a stream does.
    void reset() { previous_n_ = 0; }

    // Decodes one packet and returns how many frames it completed (0 for
    // the first block and for packets that are not audio). A packet damaged
    // past its mode bits still yields its frames, silent where it broke.
    int decode(const std::uint8_t* data, std::size_t size);

    // The frames of the last decode, one array per channel.
    const float* output(int channel) const { return output_[channel].data(); }

private:
    void decode_spectra(BitReader& bits, const Mapping& mapping, int n);
    void overlap(int n, int* frames);

    const VorbisSetup* setup_ = nullptr;
    InverseMdct mdct_[2];
    std::vector<float> slope_[2];  // rising half of each window
    int previous_n_ = 0;
    std::vector<std::vector<float>> spectrum_, block_, previous_, output_;
    std::vector<float> work_;
    std::vector<FloorData> floors_;
    std::vector<std::uint8_t> no_residue_;
    ResidueScratch scratch_;
};

}  // namespace audio
