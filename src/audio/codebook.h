// Vorbis codebooks: Huffman-coded entry numbers and their value vectors.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/bit_reader.h"

namespace audio {

class Codebook {
public:
    // Reads one codebook from the setup header; false when it is malformed.
    bool read(BitReader& bits);

    // The next entry number, or -1 when the packet ends or no codeword fits.
    int decode(BitReader& bits) const;

    // Value vector of an entry (`dimensions` floats); only for books with a
    // lookup table.
    const float* vector(int entry) const { return &values_[static_cast<std::size_t>(entry) * dimensions_]; }

    int dimensions() const { return dimensions_; }
    int entries() const { return entries_; }
    bool has_values() const { return !values_.empty(); }

private:
    bool read_lengths(BitReader& bits, std::vector<std::uint8_t>& lengths);
    bool read_lookup(BitReader& bits);
    bool build_decoder(const std::vector<std::uint8_t>& lengths);
    int decode_slow(BitReader& bits) const;

    static constexpr int fast_bits = 10;

    int dimensions_ = 0;
    int entries_ = 0;
    std::vector<float> values_;
    // Indexed by the next fast_bits bits as read: entry << 6 | length, or -1.
    std::vector<std::int32_t> fast_;
    // Codewords longer than fast_bits, left-justified in 32 bits and sorted,
    // with their entries and lengths.
    std::vector<std::uint32_t> long_codes_;
    std::vector<std::int32_t> long_entries_;
    std::vector<std::uint8_t> long_lengths_;
};

}  // namespace audio
