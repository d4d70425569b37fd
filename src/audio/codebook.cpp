#include "audio/codebook.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr std::uint8_t unused = 0;
// Caps what a damaged header can make us allocate.
constexpr int max_entries = 1 << 20;
constexpr std::size_t max_values = 1 << 22;

// Exponents beyond 63 either way only come from damaged headers; they are
// held there, as the reference decoder holds them, so that a book's values
// stay finite and both decoders hear the same thing.
float unpack_float(std::uint32_t x) {
    double mantissa = x & 0x1fffff;
    int exponent = static_cast<int>((x & 0x7fe00000) >> 21) - 788;
    if (x & 0x80000000u) mantissa = -mantissa;
    return static_cast<float>(std::ldexp(mantissa, std::clamp(exponent, -63, 63)));
}

// The largest r with r^dimensions <= entries.
std::uint32_t lookup1_values(int entries, int dimensions) {
    auto r = static_cast<std::uint32_t>(std::floor(std::pow(static_cast<double>(entries), 1.0 / dimensions)));
    auto fits = [&](std::uint64_t base) {
        std::uint64_t power = 1;
        for (int i = 0; i < dimensions; ++i) {
            power *= base;
            if (power > static_cast<std::uint64_t>(entries)) return false;
        }
        return true;
    };
    while (r > 0 && !fits(r)) --r;
    while (fits(r + 1)) ++r;
    return r;
}

std::uint32_t reverse_bits(std::uint32_t v) {
    v = ((v >> 1) & 0x55555555u) | ((v & 0x55555555u) << 1);
    v = ((v >> 2) & 0x33333333u) | ((v & 0x33333333u) << 2);
    v = ((v >> 4) & 0x0f0f0f0fu) | ((v & 0x0f0f0f0fu) << 4);
    v = ((v >> 8) & 0x00ff00ffu) | ((v & 0x00ff00ffu) << 8);
    return (v >> 16) | (v << 16);
}

}  // namespace

bool Codebook::read(BitReader& bits) {
    if (bits.read(24) != 0x564342) return false;
    dimensions_ = static_cast<int>(bits.read(16));
    entries_ = static_cast<int>(bits.read(24));
    // A book of no dimensions can still give entry numbers (floor classes
    // use them so); only value vectors need dimensions.
    if (entries_ == 0 || entries_ > max_entries) return false;
    std::vector<std::uint8_t> lengths(static_cast<std::size_t>(entries_), unused);
    if (!read_lengths(bits, lengths) || !read_lookup(bits) || bits.at_end()) return false;
    return build_decoder(lengths);
}

bool Codebook::read_lengths(BitReader& bits, std::vector<std::uint8_t>& lengths) {
    if (bits.read_flag()) {  // ordered: runs of entries with growing lengths
        int entry = 0;
        int length = static_cast<int>(bits.read(5)) + 1;
        while (entry < entries_) {
            int count = static_cast<int>(bits.read(ilog(static_cast<std::uint32_t>(entries_ - entry))));
            if (length > 32 || count > entries_ - entry || bits.at_end()) return false;
            std::fill_n(lengths.begin() + entry, count, static_cast<std::uint8_t>(length));
            entry += count;
            ++length;
        }
        return true;
    }
    bool sparse = bits.read_flag();
    for (auto& length : lengths) {
        if (sparse && !bits.read_flag()) continue;
        length = static_cast<std::uint8_t>(bits.read(5) + 1);
    }
    return !bits.at_end();
}

bool Codebook::read_lookup(BitReader& bits) {
    int type = static_cast<int>(bits.read(4));
    if (type == 0) return true;
    if (type > 2 || dimensions_ == 0) return false;
    float minimum = unpack_float(bits.read(32));
    float delta = unpack_float(bits.read(32));
    int value_bits = static_cast<int>(bits.read(4)) + 1;
    bool sequence = bits.read_flag();
    std::uint64_t count = type == 1 ? lookup1_values(entries_, dimensions_)
                                    : static_cast<std::uint64_t>(entries_) * dimensions_;
    if (count == 0 || count > max_values || count * value_bits > bits.bits_left()) return false;
    std::vector<std::uint32_t> multiplicands(count);
    for (auto& m : multiplicands) m = bits.read(value_bits);
    if (static_cast<std::uint64_t>(entries_) * dimensions_ > max_values) return false;
    values_.resize(static_cast<std::size_t>(entries_) * dimensions_);
    for (int entry = 0; entry < entries_; ++entry) {
        float last = 0;
        std::uint64_t divisor = 1;
        for (int d = 0; d < dimensions_; ++d) {
            std::uint64_t offset = type == 1 ? (entry / divisor) % count
                                             : static_cast<std::uint64_t>(entry) * dimensions_ + d;
            float value = multiplicands[offset] * delta + minimum + last;
            values_[static_cast<std::size_t>(entry) * dimensions_ + d] = value;
            if (sequence) last = value;
            divisor *= count;
        }
    }
    return true;
}

// Codewords go to entries in order, each taking the lowest free codeword of
// its length; a length that finds no free codeword means the tree is
// over-full and the book is rejected.
bool Codebook::build_decoder(const std::vector<std::uint8_t>& lengths) {
    fast_.assign(1u << fast_bits, -1);
    std::uint32_t available[33] = {};
    bool first = true;
    struct Long {
        std::uint32_t code;
        std::int32_t entry;
        std::uint8_t length;
    };
    std::vector<Long> longs;
    for (int entry = 0; entry < entries_; ++entry) {
        int length = lengths[static_cast<std::size_t>(entry)];
        if (length == unused) continue;
        std::uint32_t code = 0;  // left-justified
        if (first) {
            for (int i = 1; i <= length; ++i) available[i] = 1u << (32 - i);
            first = false;
        } else {
            int z = length;
            while (z > 0 && !available[z]) --z;
            if (z == 0) return false;
            code = available[z];
            available[z] = 0;
            for (int y = length; y > z; --y) available[y] = code + (1u << (32 - y));
        }
        if (length <= fast_bits) {
            std::uint32_t read_order = reverse_bits(code);
            for (std::uint32_t fill = read_order; fill < (1u << fast_bits); fill += 1u << length)
                fast_[fill] = entry << 6 | length;
        } else {
            longs.push_back({code, entry, static_cast<std::uint8_t>(length)});
        }
    }
    std::sort(longs.begin(), longs.end(), [](const Long& a, const Long& b) { return a.code < b.code; });
    for (const Long& l : longs) {
        long_codes_.push_back(l.code);
        long_entries_.push_back(l.entry);
        long_lengths_.push_back(l.length);
    }
    return true;
}

int Codebook::decode(BitReader& bits) const {
    std::int32_t hit = fast_[bits.peek(fast_bits)];
    if (hit < 0) return decode_slow(bits);
    int length = hit & 63;
    if (static_cast<std::uint64_t>(length) > bits.bits_left()) return -1;
    bits.skip(length);
    return hit >> 6;
}

int Codebook::decode_slow(BitReader& bits) const {
    if (long_codes_.empty()) return -1;
    std::uint32_t next = reverse_bits(bits.peek(32));
    auto it = std::upper_bound(long_codes_.begin(), long_codes_.end(), next);
    if (it == long_codes_.begin()) return -1;
    std::size_t i = static_cast<std::size_t>(it - long_codes_.begin()) - 1;
    int length = long_lengths_[i];
    std::uint32_t mask = length == 32 ? ~0u : ~(~0u >> length);
    if ((next & mask) != long_codes_[i] || static_cast<std::uint64_t>(length) > bits.bits_left()) return -1;
    bits.skip(length);
    return long_entries_[i];
}

}  // namespace audio
