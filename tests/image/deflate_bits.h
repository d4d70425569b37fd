// Hand-assembled deflate streams for cases no encoder writes.
#pragma once

#include <cstdint>
#include <vector>

namespace test_image {

class BitWriter {
public:
    // A zlib header (0x78 0x9C) followed by the bits written.
    BitWriter() : bytes_{0x78, 0x9C} {}

    // Fields are stored least significant bit first.
    void field(unsigned value, unsigned bits) {
        for (unsigned k = 0; k < bits; ++k) bit(value >> k & 1u);
    }
    // Huffman codes are stored most significant bit first.
    void code(unsigned value, unsigned bits) {
        for (unsigned k = bits; k-- > 0;) bit(value >> k & 1u);
    }
    // The fixed literal/length code of `symbol`.
    void fixed_symbol(unsigned symbol) {
        if (symbol < 144) code(0x30 + symbol, 8);
        else if (symbol < 256) code(0x190 + symbol - 144, 9);
        else if (symbol < 280) code(symbol - 256, 7);
        else code(0xC0 + symbol - 280, 8);
    }
    void align() {
        while (used_ % 8) bit(0);
    }
    void byte(unsigned value) {
        align();
        field(value, 8);
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    void bit(unsigned b) {
        if (used_ % 8 == 0) bytes_.push_back(0);
        bytes_.back() |= static_cast<std::uint8_t>(b << (used_ % 8));
        ++used_;
    }
    std::vector<std::uint8_t> bytes_;
    unsigned used_ = 0;
};

}  // namespace test_image
