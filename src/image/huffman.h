// Huffman trees stored as slot pairs: node k's children are slots 2k (bit 0)
// and 2k + 1 (bit 1); a value below N is a symbol, N + j points to node j.
#pragma once

#include <cstdint>

#include "image/bit_reader.h"

constexpr std::uint16_t huffman_unused = 32767;

// Builds the canonical code of `lengths` (0 = unused symbol) into `tree`,
// which has 2 x (n - 1) slots. Returns 0, or inflate_error_bad_code when the
// lengths describe more codes than a prefix code can hold.
unsigned huffman_build(const std::uint16_t* lengths, unsigned n, unsigned max_length, std::uint16_t* tree);

// Walks `tree` one input bit at a time to the next symbol.
unsigned huffman_symbol(BitReader& in, const std::uint16_t* tree, unsigned n, unsigned& symbol);
