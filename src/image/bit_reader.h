// Least-significant-bit-first reading of a deflate stream held in memory.
#pragma once

#include <cstdint>

struct BitReader {
    const std::uint8_t* data;
    std::uint32_t size;
    std::uint64_t position;  // bits consumed
};

// False when the bit lies beyond the input.
inline bool read_bit(BitReader& in, unsigned& bit) {
    std::uint64_t byte = in.position >> 3;
    if (byte >= in.size) return false;
    bit = (in.data[byte] >> (in.position & 7)) & 1u;
    ++in.position;
    return true;
}

// The next 16 bits as they come (the k-th bit read has weight 2^k) when
// that many remain; false near the end of the input.
inline bool peek_16(const BitReader& in, unsigned& window) {
    std::uint64_t byte = in.position >> 3;
    if (byte + 2 >= in.size) return false;
    std::uint32_t bytes = in.data[byte] | in.data[byte + 1] << 8 | static_cast<std::uint32_t>(in.data[byte + 2]) << 16;
    window = (bytes >> (in.position & 7)) & 0xFFFFu;
    return true;
}

// Reads `count` bits (at most 16); the k-th bit read has weight 2^k.
inline bool read_bits(BitReader& in, unsigned count, unsigned& value) {
    unsigned window;
    if (peek_16(in, window)) {
        value = window & ((1u << count) - 1);
        in.position += count;
        return true;
    }
    value = 0;
    for (unsigned k = 0; k < count; ++k) {
        unsigned bit;
        if (!read_bit(in, bit)) return false;
        value |= bit << k;
    }
    return true;
}
