// The inflater against streams written by zlib, and hand-made malformed ones.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "deflate_bits.h"
#include "image/inflate.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_image::BitWriter;

Bytes random_data(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes data(size);
    for (auto& b : data) b = static_cast<std::uint8_t>(rng());
    return data;
}

// Short patterns repeated at varying distances, with the odd stray byte.
Bytes repetitive_data(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < size) {
        std::size_t pattern = 1 + rng() % 40, repeats = 1 + rng() % 300, start = data.size();
        for (std::size_t k = 0; k < pattern; ++k) data.push_back(static_cast<std::uint8_t>(rng() % 4));
        for (std::size_t k = 0; k < pattern * repeats && data.size() < size + pattern; ++k) data.push_back(data[start + k]);
        if (rng() % 3 == 0) data.push_back(static_cast<std::uint8_t>(rng()));
    }
    data.resize(size);
    return data;
}

Bytes text_data(std::size_t size, unsigned seed) {
    static const char* words[] = {"the", "demo", "beat", "tunnel", "glow", "of", "and", "shadow", "particle",
                                  "152", "frame", "scene", "camera", "light", "mesh", "iso", "grain", "sky"};
    std::mt19937 rng(seed);
    std::string text;
    while (text.size() < size) {
        text += words[rng() % (sizeof words / sizeof *words)];
        text += rng() % 11 == 0 ? ".\n" : " ";
    }
    return Bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size));
}

Bytes compress(const Bytes& data, int level, int strategy, int window_bits) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, window_bits, 8, strategy), Z_OK);
    Bytes out(deflateBound(&z, data.size()));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Decodes into a buffer of exactly `capacity` bytes followed by guard bytes
// that must survive.
unsigned decode(const Bytes& stream, std::size_t capacity, Bytes& out) {
    Bytes buffer(capacity + 64, 0xA5);
    unsigned result = zlib_decode(buffer.data(), stream.data(), static_cast<std::uint32_t>(capacity),
                                  static_cast<std::uint32_t>(stream.size()));
    for (std::size_t i = capacity; i < buffer.size(); ++i)
        if (buffer[i] != 0xA5) ADD_FAILURE() << "wrote past the capacity at " << i;
    out.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(capacity));
    return result;
}

struct Sample {
    const char* kind;
    Bytes data;
};

std::vector<Sample> samples(std::vector<std::size_t> sizes) {
    std::vector<Sample> all;
    for (std::size_t size : sizes) {
        unsigned seed = static_cast<unsigned>(size) + 1;
        all.push_back({"random", random_data(size, seed)});
        all.push_back({"repetitive", repetitive_data(size, seed)});
        all.push_back({"text", text_data(size, seed)});
    }
    return all;
}

void expect_round_trip(const Sample& sample, int level, int strategy, int window_bits) {
    SCOPED_TRACE(testing::Message() << sample.kind << " " << sample.data.size() << " bytes, level " << level
                                    << ", strategy " << strategy << ", window " << window_bits);
    Bytes stream = compress(sample.data, level, strategy, window_bits), out;
    ASSERT_EQ(decode(stream, sample.data.size(), out), 0u);
    EXPECT_TRUE(out == sample.data);
    if (sample.data.empty()) return;
    // One byte less room must fail with one of the output-full codes.
    unsigned short_result = decode(stream, sample.data.size() - 1, out);
    EXPECT_TRUE(short_result == 17 || short_result == 19 || short_result == 22) << short_result;
}

TEST(InflateOracle, EveryLevelAndStrategyDecodesToTheOriginal) {
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (const Sample& sample : samples({0, 1, 258, 3000, 70000}))
        for (int level = 0; level <= 9; ++level)
            for (int strategy : strategies) expect_round_trip(sample, level, strategy, 15);
}

TEST(InflateOracle, EveryWindowSizeDecodesToTheOriginal) {
    for (const Sample& sample : samples({700, 40000}))
        for (int window_bits = 9; window_bits <= 15; ++window_bits)
            for (int level : {1, 6, 9}) expect_round_trip(sample, level, Z_DEFAULT_STRATEGY, window_bits);
}

TEST(InflateOracle, MultiMegabyteStreamsDecodeToTheOriginal) {
    expect_round_trip({"random", random_data(3 << 20, 7)}, 1, Z_DEFAULT_STRATEGY, 15);
    expect_round_trip({"random", random_data(2 << 20, 8)}, 0, Z_DEFAULT_STRATEGY, 15);
    expect_round_trip({"repetitive", repetitive_data(4 << 20, 9)}, 9, Z_DEFAULT_STRATEGY, 12);
    expect_round_trip({"text", text_data(3 << 20, 10)}, 6, Z_DEFAULT_STRATEGY, 15);
}

// Cut anywhere before the end of the deflate data, a stream must fail; cut
// inside the (unchecked) checksum, it still decodes.
TEST(InflateDamage, TruncatedStreamsFailUntilOnlyTheChecksumIsMissing) {
    Bytes original = text_data(2000, 3);
    for (int level : {0, 1, 9}) {
        Bytes stream = compress(original, level, Z_DEFAULT_STRATEGY, 15), out;
        for (std::size_t cut = 0; cut < stream.size(); ++cut) {
            Bytes prefix(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
            unsigned result = decode(prefix, original.size(), out);
            if (cut < stream.size() - 4) EXPECT_NE(result, 0u) << "level " << level << " cut " << cut;
            else EXPECT_TRUE(result == 0 && out == original) << "level " << level << " cut " << cut;
        }
    }
}

TEST(InflateDamage, CorruptedStreamsReturnACodeOrDecodeWithinBounds) {
    std::mt19937 rng(99);
    Bytes original = repetitive_data(5000, 4);
    for (int level : {0, 1, 6, 9}) {
        Bytes stream = compress(original, level, level == 1 ? Z_FIXED : Z_DEFAULT_STRATEGY, 15), out;
        for (int trial = 0; trial < 300; ++trial) {
            Bytes damaged = stream;
            for (int flips = 1 + static_cast<int>(rng() % 3); flips > 0; --flips)
                damaged[2 + rng() % (damaged.size() - 2)] ^= static_cast<std::uint8_t>(1u << rng() % 8);
            unsigned result = decode(damaged, original.size(), out);
            EXPECT_TRUE(result == 0 || (result >= 10 && result <= 26)) << result;
        }
    }
}

TEST(InflateHeader, ChecksTheTwoHeaderBytes) {
    Bytes out;
    Bytes good = compress({}, 6, Z_DEFAULT_STRATEGY, 15);
    ASSERT_EQ(good[0], 0x78);
    ASSERT_EQ(good[1], 0x9C);
    EXPECT_EQ(decode(good, 0, out), 0u);
    Bytes bad_check = good;
    bad_check[1] = 0x9D;
    EXPECT_EQ(decode(bad_check, 0, out), 24u);
    EXPECT_EQ(png_error, 24u);
    // Headers with a valid check value: the low flag bits complete it.
    auto header = [](unsigned cmf, unsigned flags) {
        flags += (31 - (cmf * 256 + flags) % 31) % 31;
        return Bytes{static_cast<std::uint8_t>(cmf), static_cast<std::uint8_t>(flags), 0x03, 0x00};
    };
    EXPECT_EQ(decode(header(0x78, 0), 0, out), 0u);
    EXPECT_EQ(decode(header(0x79, 0), 0, out), 25u);  // method 9
    EXPECT_EQ(decode(header(0x88, 0), 0, out), 25u);  // window field 8
    EXPECT_EQ(decode(header(0x78, 0x20), 0, out), 26u);  // preset dictionary
    EXPECT_EQ(decode({0x78}, 0, out), 10u);
    EXPECT_EQ(decode({}, 0, out), 10u);
}

TEST(InflateBlocks, StoredBlocks) {
    Bytes out;
    BitWriter empty;
    empty.field(1, 1), empty.field(0, 2), empty.byte(0), empty.byte(0), empty.byte(0xFF), empty.byte(0xFF);
    EXPECT_EQ(decode(empty.bytes(), 4, out), 0u);
    EXPECT_EQ(out, Bytes(4, 0xA5)) << "nothing written";

    BitWriter three;
    three.field(1, 1), three.field(0, 2), three.byte(3), three.byte(0), three.byte(0xFC), three.byte(0xFF);
    for (unsigned b : {7, 8, 9}) three.byte(b);
    EXPECT_EQ(decode(three.bytes(), 3, out), 0u);
    EXPECT_EQ(out, (Bytes{7, 8, 9}));
    EXPECT_EQ(decode(three.bytes(), 2, out), 22u);
    Bytes cut(three.bytes().begin(), three.bytes().end() - 1);
    EXPECT_EQ(decode(cut, 3, out), 23u);
    Bytes lengths_cut(three.bytes().begin(), three.bytes().begin() + 5);
    EXPECT_EQ(decode(lengths_cut, 3, out), 10u);

    BitWriter mismatch;
    mismatch.field(1, 1), mismatch.field(0, 2), mismatch.byte(3), mismatch.byte(0), mismatch.byte(0xFD), mismatch.byte(0xFF);
    EXPECT_EQ(decode(mismatch.bytes(), 3, out), 21u);

    BitWriter reserved;
    reserved.field(1, 1), reserved.field(3, 2);
    EXPECT_EQ(decode(reserved.bytes(), 3, out), 20u);
}

// A final fixed block holding `symbols` (literals and lengths) and extra
// fields; each entry is {symbol, extra value, extra bits, distance code, distance extra, bits}.
struct Step {
    unsigned symbol, extra = 0, extra_bits = 0, distance = 0, distance_extra = 0, distance_bits = 0;
};

Bytes fixed_block(const std::vector<Step>& steps, bool end = true) {
    BitWriter w;
    w.field(1, 1), w.field(1, 2);
    for (const Step& s : steps) {
        w.fixed_symbol(s.symbol);
        if (s.symbol <= 256 || s.symbol >= 286) continue;
        w.field(s.extra, s.extra_bits);
        w.code(s.distance, 5);
        w.field(s.distance_extra, s.distance_bits);
    }
    Bytes bytes = w.bytes();
    if (!end) return bytes;
    w.fixed_symbol(256);
    bytes = w.bytes();
    for (int k = 0; k < 4; ++k) bytes.push_back(0xEE);  // an Adler-32 that is plainly wrong
    return bytes;
}

TEST(InflateBlocks, FixedBlocks) {
    Bytes out;
    EXPECT_EQ(decode(fixed_block({}), 2, out), 0u);
    EXPECT_EQ(out, Bytes(2, 0xA5));

    // One literal, then length 258 (symbol 285) at distance 1: 259 equal bytes.
    Bytes run = fixed_block({{'x'}, {285, 0, 0, 0}});
    EXPECT_EQ(decode(run, 259, out), 0u);
    EXPECT_EQ(out, Bytes(259, 'x'));
    EXPECT_EQ(decode(run, 258, out), 19u);

    // Length 5 (symbol 259) at distance 3 repeats the last three bytes.
    EXPECT_EQ(decode(fixed_block({{'a'}, {'b'}, {'c'}, {259, 0, 0, 2}}), 8, out), 0u);
    EXPECT_EQ(std::string(out.begin(), out.end()), "abcabcab");

    // Symbols 286 and 287 carry nothing.
    EXPECT_EQ(decode(fixed_block({{'a'}, {286}, {287}, {'b'}}), 2, out), 0u);
    EXPECT_EQ(std::string(out.begin(), out.end()), "ab");

    Bytes two = fixed_block({{'a'}, {'b'}});
    EXPECT_EQ(decode(two, 2, out), 0u);
    EXPECT_EQ(decode(two, 1, out), 17u);
    EXPECT_EQ(decode(fixed_block({{'a'}, {257, 0, 0, 30}}), 9, out), 18u);
    EXPECT_EQ(decode(fixed_block({{'a'}, {257, 0, 0, 31}}), 9, out), 18u);
    EXPECT_EQ(decode(fixed_block({{'a'}, {257, 0, 0, 1}}), 9, out), 16u) << "distance 2 after one byte";
    EXPECT_EQ(decode(fixed_block({{257, 0, 0, 0}}), 9, out), 16u) << "a reference before any output";
    EXPECT_EQ(decode(fixed_block({{'a'}}, false), 9, out), 10u) << "no end of block";
}

const unsigned length_code_order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// The header of a dynamic block with HLIT 257 and HDIST 1 whose
// code-length code gives symbol s the length lengths[s].
void dynamic_header(BitWriter& w, const unsigned (&lengths)[19], bool final) {
    w.field(final, 1), w.field(2, 2);
    w.field(0, 5), w.field(0, 5), w.field(15, 4);
    for (unsigned symbol : length_code_order) w.field(lengths[symbol], 3);
}

BitWriter dynamic_header(const unsigned (&lengths)[19]) {
    BitWriter w;
    dynamic_header(w, lengths, true);
    return w;
}

// A complete code-length code: symbols 0-12 have the 4-bit codes 0-12,
// symbols 13-18 the 5-bit codes 26-31.
const unsigned complete_lengths[19] = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5};

void length_symbol(BitWriter& w, unsigned symbol) {
    if (symbol <= 12) w.code(symbol, 4);
    else w.code(26 + symbol - 13, 5);
}

TEST(InflateBlocks, MalformedDynamicHeaders) {
    Bytes out;
    BitWriter first_repeat = dynamic_header(complete_lengths);
    length_symbol(first_repeat, 16), first_repeat.field(0, 2);
    EXPECT_EQ(decode(first_repeat.bytes(), 9, out), 12u);

    // 250 zeros in runs of 10 and seven lengths of 1 bring the sequence to
    // 257 of its 258 entries.
    auto near_end = [] {
        BitWriter w = dynamic_header(complete_lengths);
        for (int i = 0; i < 25; ++i) length_symbol(w, 17), w.field(7, 3);
        for (int i = 0; i < 7; ++i) length_symbol(w, 1);
        return w;
    };
    BitWriter repeat = near_end();
    length_symbol(repeat, 16), repeat.field(0, 2);
    EXPECT_EQ(decode(repeat.bytes(), 9, out), 13u);
    BitWriter zeros = near_end();
    length_symbol(zeros, 17), zeros.field(0, 3);
    EXPECT_EQ(decode(zeros.bytes(), 9, out), 14u);
    BitWriter long_zeros = near_end();
    length_symbol(long_zeros, 18), long_zeros.field(0, 7);
    EXPECT_EQ(decode(long_zeros.bytes(), 9, out), 15u);

    // Only the 2-bit codes 00 and 01 exist; 11 leads nowhere.
    BitWriter unassigned = dynamic_header({0, 2, 2});
    unassigned.code(3, 2);
    EXPECT_EQ(decode(unassigned.bytes(), 9, out), 11u);

    // Nineteen codes of length 1 cannot form a prefix code.
    BitWriter crowded = dynamic_header({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    crowded.code(0, 8);
    EXPECT_EQ(decode(crowded.bytes(), 9, out), 11u);
    // Nineteen 5-bit codes leave code space unused but need more nodes than
    // a tree of 19 symbols has: refused rather than built past its end.
    BitWriter sparse = dynamic_header({5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    sparse.code(0, 8);
    EXPECT_EQ(decode(sparse.bytes(), 9, out), 11u);
}

// The fixed codes are kept from block to block, and must be built again
// after a dynamic block has replaced them.
TEST(InflateBlocks, FixedBlocksAroundADynamicOne) {
    BitWriter w;
    w.field(0, 1), w.field(1, 2), w.fixed_symbol('a'), w.fixed_symbol(256);
    dynamic_header(w, complete_lengths, false);
    // 'z' and the end of block get the 1-bit codes 0 and 1, distance 0 one bit.
    length_symbol(w, 18), w.field('z' - 11, 7);
    length_symbol(w, 1);
    length_symbol(w, 18), w.field(255 - 'z' - 11, 7);
    length_symbol(w, 1), length_symbol(w, 1);
    w.code(0, 1), w.code(0, 1), w.code(1, 1);
    w.field(1, 1), w.field(1, 2), w.fixed_symbol('b'), w.fixed_symbol(256);
    Bytes out;
    EXPECT_EQ(decode(w.bytes(), 4, out), 0u);
    EXPECT_EQ(std::string(out.begin(), out.end()), "azzb");
}

}  // namespace
