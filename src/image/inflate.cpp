#include "image/inflate.h"

#include <cstring>

#include "image/bit_reader.h"
#include "image/huffman.h"

unsigned png_error = 0;

namespace {

constexpr unsigned literal_symbols = 288;
constexpr unsigned distance_symbols = 32;
constexpr unsigned length_code_symbols = 19;
constexpr unsigned max_code_length = 16;
constexpr unsigned max_length_code_length = 7;

const std::uint8_t length_code_order[length_code_symbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                             11, 4,  12, 3, 13, 2, 14, 1, 15};
const std::uint16_t length_base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const std::uint8_t length_extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const std::uint16_t distance_base[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                         193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const std::uint8_t distance_extra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Working storage shared by every decode.
std::uint16_t literal_lengths[literal_symbols];
std::uint16_t distance_lengths[distance_symbols];
std::uint16_t length_code_lengths[length_code_symbols];
std::uint16_t literal_tree[2 * (literal_symbols - 1)];
std::uint16_t distance_tree[2 * (distance_symbols - 1)];
std::uint16_t length_code_tree[2 * (length_code_symbols - 1)];

struct Output {
    std::uint8_t* data;
    std::uint32_t capacity;
    std::uint32_t size;
};

unsigned build_literal_and_distance_trees() {
    unsigned error = huffman_build(literal_lengths, literal_symbols, max_code_length, literal_tree);
    if (!error) error = huffman_build(distance_lengths, distance_symbols, max_code_length, distance_tree);
    return error;
}

// True while the trees hold the fixed codes. They are built once and kept
// until a dynamic block replaces them: built for every block, a stream of
// empty fixed blocks (10 bits each) took seconds a megabyte.
bool fixed_trees_built = false;

unsigned fixed_trees() {
    if (fixed_trees_built) return 0;
    for (unsigned s = 0; s < literal_symbols; ++s) literal_lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    for (unsigned s = 0; s < distance_symbols; ++s) distance_lengths[s] = 5;
    unsigned error = build_literal_and_distance_trees();
    fixed_trees_built = error == 0;
    return error;
}

// Entry i of the combined literal/length + distance length sequence.
std::uint16_t& sequence_length(unsigned i, unsigned literal_count) {
    return i < literal_count ? literal_lengths[i] : distance_lengths[i - literal_count];
}

// One code-length symbol of the dynamic header: how many entries it fills
// with which length, or an error.
unsigned length_run(BitReader& in, unsigned symbol, unsigned index, unsigned total, unsigned literal_count,
                    unsigned& count, std::uint16_t& length) {
    unsigned extra = 0;
    if (symbol < 16) {
        count = 1;
        length = static_cast<std::uint16_t>(symbol);
        return 0;
    }
    unsigned extra_bits = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
    if (!read_bits(in, extra_bits, extra)) return inflate_error_input_end;
    if (symbol == 16) {
        if (index == 0) return inflate_error_repeat_first;
        count = 3 + extra;
        length = sequence_length(index - 1, literal_count);
        return index + count > total ? unsigned{inflate_error_repeat_overrun} : 0u;
    }
    count = (symbol == 17 ? 3 : 11) + extra;
    length = 0;
    if (index + count <= total) return 0;
    return symbol == 17 ? inflate_error_zeros_overrun : inflate_error_long_zeros_overrun;
}

unsigned read_length_sequence(BitReader& in, unsigned literal_count, unsigned distance_count) {
    unsigned total = literal_count + distance_count;
    for (unsigned index = 0; index < total;) {
        unsigned symbol, count;
        std::uint16_t length;
        unsigned error = huffman_symbol(in, length_code_tree, length_code_symbols, symbol);
        if (!error) error = length_run(in, symbol, index, total, literal_count, count, length);
        if (error) return error;
        for (; count > 0; --count) sequence_length(index++, literal_count) = length;
    }
    return 0;
}

unsigned dynamic_trees(BitReader& in) {
    fixed_trees_built = false;
    unsigned literal_count, distance_count, length_code_count;
    if (!read_bits(in, 5, literal_count) || !read_bits(in, 5, distance_count) || !read_bits(in, 4, length_code_count))
        return inflate_error_input_end;
    literal_count += 257;
    distance_count += 1;
    length_code_count += 4;
    std::memset(length_code_lengths, 0, sizeof length_code_lengths);
    for (unsigned i = 0; i < length_code_count; ++i) {
        unsigned length;
        if (!read_bits(in, 3, length)) return inflate_error_input_end;
        length_code_lengths[length_code_order[i]] = static_cast<std::uint16_t>(length);
    }
    unsigned error = huffman_build(length_code_lengths, length_code_symbols, max_length_code_length, length_code_tree);
    if (!error) error = read_length_sequence(in, literal_count, distance_count);
    if (error) return error;
    for (unsigned s = literal_count; s < literal_symbols; ++s) literal_lengths[s] = 0;
    for (unsigned s = distance_count; s < distance_symbols; ++s) distance_lengths[s] = 0;
    return build_literal_and_distance_trees();
}

// Reads base + extra bits for a length (257..285) or distance symbol.
unsigned read_extra(BitReader& in, std::uint16_t base, std::uint8_t bits, unsigned& value) {
    unsigned extra;
    if (!read_bits(in, bits, extra)) return inflate_error_input_end;
    value = base + extra;
    return 0;
}

// Copies `length` bytes from `distance` back; a copy longer than its
// distance repeats the last `distance` bytes.
unsigned copy_back(Output& out, unsigned length, unsigned distance) {
    if (distance > out.size) return inflate_error_distance_too_far;
    for (; length > 0; --length) {
        if (out.size >= out.capacity) return inflate_error_copy_full;
        out.data[out.size] = out.data[out.size - distance];
        ++out.size;
    }
    return 0;
}

unsigned back_reference(BitReader& in, Output& out, unsigned symbol) {
    unsigned length, distance_symbol, distance;
    unsigned error = read_extra(in, length_base[symbol - 257], length_extra[symbol - 257], length);
    if (!error) error = huffman_symbol(in, distance_tree, distance_symbols, distance_symbol);
    if (error) return error;
    if (distance_symbol > 29) return inflate_error_distance_symbol;
    error = read_extra(in, distance_base[distance_symbol], distance_extra[distance_symbol], distance);
    return error ? error : copy_back(out, length, distance);
}

unsigned inflate_block(BitReader& in, Output& out, unsigned kind) {
    unsigned error = kind == 1 ? fixed_trees() : dynamic_trees(in);
    while (!error) {
        unsigned symbol;
        error = huffman_symbol(in, literal_tree, literal_symbols, symbol);
        if (error || symbol == 256) break;
        if (symbol < 256) {
            if (out.size >= out.capacity) return inflate_error_literal_full;
            out.data[out.size++] = static_cast<std::uint8_t>(symbol);
        } else if (symbol <= 285) {
            error = back_reference(in, out, symbol);
        }
        // 286 and 287 carry nothing and are passed over.
    }
    return error;
}

unsigned read_byte(BitReader& in, unsigned& value) {
    return read_bits(in, 8, value) ? 0u : unsigned{inflate_error_input_end};
}

unsigned stored_block(BitReader& in, Output& out) {
    in.position = (in.position + 7) & ~std::uint64_t{7};
    unsigned bytes[4];
    for (unsigned& byte : bytes)
        if (read_byte(in, byte)) return inflate_error_input_end;
    unsigned length = bytes[0] | bytes[1] << 8;
    if (length + (bytes[2] | bytes[3] << 8) != 65535) return inflate_error_stored_length;
    std::uint64_t source = in.position >> 3;
    std::uint64_t room = out.capacity - out.size;
    std::uint64_t available = source < in.size ? in.size - source : 0;
    std::uint64_t copied = length;
    if (room < copied) copied = room;
    if (available < copied) copied = available;
    if (copied) std::memcpy(out.data + out.size, in.data + source, copied);
    out.size += static_cast<std::uint32_t>(copied);
    in.position += copied * 8;
    if (copied == length) return 0;
    return copied == room ? inflate_error_stored_full : inflate_error_stored_input_end;
}

unsigned block_loop(BitReader& in, Output& out) {
    for (;;) {
        unsigned final_block, type, error;
        if (!read_bits(in, 1, final_block) || !read_bits(in, 2, type)) return inflate_error_input_end;
        if (type == 3) return inflate_error_block_type;
        error = type == 0 ? stored_block(in, out) : inflate_block(in, out, type);
        if (error) return error;
        if (final_block) return 0;
    }
}

unsigned check_header(const std::uint8_t* in, std::uint32_t in_size) {
    if (in_size < 2) return inflate_error_input_end;
    unsigned method = in[0], flags = in[1];
    if ((method * 256 + flags) % 31 != 0) return inflate_error_header_check;
    if ((method & 15) != 8 || (method >> 4) > 7) return inflate_error_method;
    if (flags & 32) return inflate_error_dictionary;
    return 0;
}

}  // namespace

unsigned zlib_decode(std::uint8_t* out, const std::uint8_t* in, std::uint32_t out_capacity, std::uint32_t in_size) {
    unsigned error = check_header(in, in_size);
    if (!error) {
        BitReader reader{in + 2, in_size - 2, 0};
        Output output{out, out_capacity, 0};
        error = block_loop(reader, output);
    }
    if (error) png_error = error;
    return error;
}
