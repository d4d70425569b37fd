#include "audio/vorbis_decoder.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr double half_pi = 1.57079632679489661923;

std::vector<float> window_slope(int n) {
    std::vector<float> slope(static_cast<std::size_t>(n / 2));
    for (int k = 0; k < n / 2; ++k) {
        double s = std::sin((k + 0.5) / (n / 2) * half_pi);
        slope[k] = static_cast<float>(std::sin(half_pi * s * s));
    }
    return slope;
}

void inverse_coupling(float* magnitude, float* angle, int n) {
    for (int i = 0; i < n; ++i) {
        float m = magnitude[i], a = angle[i];
        if (m > 0) {
            if (a > 0) angle[i] = m - a;
            else {
                angle[i] = m;
                magnitude[i] = m + a;
            }
        } else {
            if (a > 0) angle[i] = m + a;
            else {
                angle[i] = m;
                magnitude[i] = m - a;
            }
        }
    }
}

}  // namespace

void VorbisDecoder::init(const VorbisSetup* setup) {
    setup_ = setup;
    int channels = setup->channels;
    int large = setup->blocksize[1];
    for (int b = 0; b < 2; ++b) {
        mdct_[b].init(setup->blocksize[b]);
        slope_[b] = window_slope(setup->blocksize[b]);
    }
    auto sized = [channels](int n) { return std::vector<std::vector<float>>(channels, std::vector<float>(n)); };
    spectrum_ = sized(large / 2);
    block_ = sized(large);
    previous_ = sized(large / 2);
    output_ = sized(large / 2);
    work_.assign(static_cast<std::size_t>(large), 0.0f);
    floors_.assign(static_cast<std::size_t>(channels), FloorData{});
    no_residue_.assign(static_cast<std::size_t>(channels), 0);
    previous_n_ = 0;
}

void VorbisDecoder::decode_spectra(BitReader& bits, const Mapping& mapping, int n) {
    const VorbisSetup& s = *setup_;
    int channels = s.channels;
    for (int ch = 0; ch < channels; ++ch) {
        const Floor& floor = s.floors[mapping.submap_floor[mapping.mux[ch]]];
        floor_decode(floor, s.books, bits, &floors_[ch]);
        no_residue_[ch] = !floors_[ch].used;
        std::fill_n(spectrum_[ch].begin(), n, 0.0f);
    }
    // A coupled pair is decoded when either of its channels has energy.
    for (std::size_t i = 0; i < mapping.magnitude.size(); ++i) {
        if (!no_residue_[mapping.magnitude[i]] || !no_residue_[mapping.angle[i]])
            no_residue_[mapping.magnitude[i]] = no_residue_[mapping.angle[i]] = 0;
    }
    for (int submap = 0; submap < mapping.submaps; ++submap) {
        float* vectors[256];
        bool skip[256];
        int count = 0;
        for (int ch = 0; ch < channels; ++ch) {
            if (mapping.mux[ch] != submap) continue;
            vectors[count] = spectrum_[ch].data();
            skip[count++] = no_residue_[ch] != 0;
        }
        const Residue& residue = s.residues[mapping.submap_residue[submap]];
        residue_decode(residue, s.books, bits, vectors, skip, count, n, &scratch_);
    }
    for (std::size_t i = mapping.magnitude.size(); i-- > 0;)
        inverse_coupling(spectrum_[mapping.magnitude[i]].data(), spectrum_[mapping.angle[i]].data(), n);
    for (int ch = 0; ch < channels; ++ch) {
        const Floor& floor = s.floors[mapping.submap_floor[mapping.mux[ch]]];
        if (floors_[ch].used) floor_apply(floor, floors_[ch], spectrum_[ch].data(), n);
        else std::fill_n(spectrum_[ch].begin(), n, 0.0f);
    }
}

int VorbisDecoder::decode(const std::uint8_t* data, std::size_t size) {
    const VorbisSetup& s = *setup_;
    int block = vorbis_packet_block(s, data, size);
    if (block < 0) return 0;
    BitReader bits(data, size);
    bits.read(1);
    const Mode& mode = s.modes[bits.read(s.mode_bits)];
    if (mode.long_block) bits.read(2);  // window shapes: taken from the real neighbours instead
    int n = s.blocksize[block];
    decode_spectra(bits, s.mappings[mode.mapping], n / 2);
    for (int ch = 0; ch < s.channels; ++ch) mdct_[block].transform(spectrum_[ch].data(), block_[ch].data(), work_.data());
    int frames = 0;
    overlap(n, &frames);
    return frames;
}

// The previous block's right half and this block's left half overlap over
// the smaller of the two window slopes; what lies between the two block
// centres is finished.
void VorbisDecoder::overlap(int n, int* frames) {
    const VorbisSetup& s = *setup_;
    int pn = previous_n_;
    if (pn != 0) {
        int w = std::min(pn, n);
        const float* slope = slope_[w == s.blocksize[0] ? 0 : 1].data();
        int half_w = w / 2;
        int slope_start = pn / 4 - w / 4;
        int shift = n / 4 - pn / 4;  // block index = output index + shift
        int count = pn / 4 + n / 4;
        for (int ch = 0; ch < s.channels; ++ch) {
            const float* prev = previous_[ch].data();
            const float* cur = block_[ch].data();
            float* out = output_[ch].data();
            for (int i = 0; i < slope_start; ++i) out[i] = prev[i];
            for (int k = 0; k < half_w; ++k) {
                int i = slope_start + k;
                out[i] = prev[i] * slope[half_w - 1 - k] + cur[i + shift] * slope[k];
            }
            for (int i = slope_start + half_w; i < count; ++i) out[i] = cur[i + shift];
        }
        *frames = count;
    }
    for (int ch = 0; ch < s.channels; ++ch)
        std::copy(block_[ch].begin() + n / 2, block_[ch].begin() + n, previous_[ch].begin());
    previous_n_ = n;
}

}  // namespace audio
