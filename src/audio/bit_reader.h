// Reads a Vorbis packet as a stream of bits, least significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace audio {

class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(size), bit_count_(static_cast<std::uint64_t>(size) * 8) {}

    // The next `bits` (0..32) bits without consuming them; past the end of
    // the packet they read as zero.
    std::uint32_t peek(int bits) const {
        if (bits == 0) return 0;
        std::size_t byte = static_cast<std::size_t>(position_ >> 3);
        std::uint64_t window = 0;
        if (byte + 8 <= size_) {
            std::memcpy(&window, data_ + byte, 8);  // both targets are little-endian
        } else {
            for (std::size_t i = 0; i < 8 && byte + i < size_; ++i)
                window |= static_cast<std::uint64_t>(data_[byte + i]) << (8 * i);
        }
        window >>= position_ & 7;
        return static_cast<std::uint32_t>(window & ((1ull << bits) - 1));
    }

    // Consumes bits; reading past the end sets the end-of-packet condition.
    void skip(int bits) {
        position_ += static_cast<std::uint64_t>(bits);
        if (position_ > bit_count_) {
            position_ = bit_count_;
            end_ = true;
        }
    }

    // Reads an unsigned value; 0 once the packet has run out.
    std::uint32_t read(int bits) {
        std::uint32_t value = peek(bits);
        skip(bits);
        return end_ ? 0 : value;
    }

    bool read_flag() { return read(1) != 0; }

    // True once a read went past the last bit of the packet.
    bool at_end() const { return end_; }

    std::uint64_t bits_left() const { return bit_count_ - position_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::uint64_t bit_count_;
    std::uint64_t position_ = 0;
    bool end_ = false;
};

// Number of bits needed to hold `value` (0 for 0).
inline int ilog(std::uint32_t value) {
    int bits = 0;
    while (value) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

}  // namespace audio
