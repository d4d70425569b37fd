// zlib stream decoder for the image data of our PNG files.
#pragma once

#include <cstdint>

// Last decoder error, shared by the inflater and the PNG decoder; 0 is none.
extern unsigned png_error;

// Codes of zlib_decode. 12 and 16 fill gaps in the numbering for two
// malformed cases that would otherwise read undefined data.
enum InflateError : unsigned {
    inflate_error_input_end = 10,          // a code or field reaches past the input
    inflate_error_bad_code = 11,           // a code leads outside its tree, or lengths fit no tree
    inflate_error_repeat_first = 12,       // length repeat (16) with no previous length
    inflate_error_repeat_overrun = 13,     // length repeat (16) past HLIT + HDIST
    inflate_error_zeros_overrun = 14,      // zero run (17) past HLIT + HDIST
    inflate_error_long_zeros_overrun = 15, // zero run (18) past HLIT + HDIST
    inflate_error_distance_too_far = 16,   // back-reference before the start of the output
    inflate_error_literal_full = 17,       // literal with the output full
    inflate_error_distance_symbol = 18,    // distance symbol 30 or 31
    inflate_error_copy_full = 19,          // back-reference with the output full
    inflate_error_block_type = 20,         // block type 3
    inflate_error_stored_length = 21,      // stored LEN and NLEN don't complement
    inflate_error_stored_full = 22,        // stored block with the output full
    inflate_error_stored_input_end = 23,   // stored block past the end of the input
    inflate_error_header_check = 24,       // header check value not divisible by 31
    inflate_error_method = 25,             // method not 8 or window field above 7
    inflate_error_dictionary = 26,         // preset dictionary requested
};

// Decodes the zlib stream in[0 .. in_size) into out[0 .. out_capacity).
// Returns 0 or an InflateError (also left in png_error). Bytes of `out` past
// the decoded data are untouched. Not reentrant: the trees are process-wide.
unsigned zlib_decode(std::uint8_t* out, const std::uint8_t* in, std::uint32_t out_capacity, std::uint32_t in_size);
