#include "image/huffman.h"

#include "image/inflate.h"

namespace {

constexpr unsigned longest_code = 16;

// Per-build scratch: codes of each length, then the next code of each length.
std::uint16_t length_count[longest_code + 1];
std::uint16_t next_code[longest_code + 1];

void assign_first_codes(const std::uint16_t* lengths, unsigned n, unsigned max_length) {
    for (unsigned length = 0; length <= longest_code; ++length) length_count[length] = 0;
    for (unsigned symbol = 0; symbol < n; ++symbol)
        if (lengths[symbol] >= 1 && lengths[symbol] <= max_length) ++length_count[lengths[symbol]];
    next_code[1] = 0;
    for (unsigned length = 2; length <= max_length; ++length)
        next_code[length] = static_cast<std::uint16_t>((next_code[length - 1] + length_count[length - 1]) * 2);
}

// Hangs `symbol` under the path of `code`, creating nodes as needed. Fails
// when the path runs into a symbol or into a taken leaf, or when the tree has
// no node left: the lengths then over-subscribe the code space.
bool insert_code(std::uint16_t* tree, unsigned n, unsigned& nodes, unsigned symbol, unsigned code, unsigned length) {
    unsigned node = 0;
    for (unsigned step = length; step-- > 0;) {
        std::uint16_t& slot = tree[2 * node + ((code >> step) & 1u)];
        if (step == 0) {
            if (slot != huffman_unused) return false;
            slot = static_cast<std::uint16_t>(symbol);
        } else if (slot == huffman_unused) {
            if (nodes + 1 > n - 2) return false;  // nodes are numbered 0 .. n - 2
            slot = static_cast<std::uint16_t>(n + ++nodes);
            node = nodes;
        } else if (slot < n) {
            return false;
        } else {
            node = slot - n;
        }
    }
    return true;
}

}  // namespace

unsigned huffman_build(const std::uint16_t* lengths, unsigned n, unsigned max_length, std::uint16_t* tree) {
    assign_first_codes(lengths, n, max_length);
    for (unsigned slot = 0; slot < 2 * (n - 1); ++slot) tree[slot] = huffman_unused;
    unsigned nodes = 0;
    for (unsigned symbol = 0; symbol < n; ++symbol) {
        unsigned length = lengths[symbol];
        if (length == 0 || length > max_length) continue;
        unsigned code = next_code[length]++;
        if (!insert_code(tree, n, nodes, symbol, code, length)) return inflate_error_bad_code;
    }
    return 0;
}

unsigned huffman_symbol(BitReader& in, const std::uint16_t* tree, unsigned n, unsigned& symbol) {
    unsigned node = 0;
    // Away from the end of the input the walk takes its bits from one peek;
    // no code is longer than 16 bits.
    unsigned window;
    if (peek_16(in, window)) {
        for (unsigned used = 1; used <= longest_code; ++used, window >>= 1) {
            unsigned value = tree[2 * node + (window & 1u)];
            if (value < n) {
                symbol = value;
                in.position += used;
                return 0;
            }
            node = value - n;
            if (node >= n - 1) return inflate_error_bad_code;
        }
        return inflate_error_bad_code;
    }
    for (;;) {
        unsigned bit;
        if (!read_bit(in, bit)) return inflate_error_input_end;
        unsigned value = tree[2 * node + bit];
        if (value < n) {
            symbol = value;
            return 0;
        }
        node = value - n;
        if (node >= n - 1) return inflate_error_bad_code;
    }
}
