// Damaged, truncated and foreign input: never a crash or a stray access (the
// sanitizer build runs these), and length, reads and seeks stay consistent.
#include <gtest/gtest.h>

#include <ogg/ogg.h>

#include <algorithm>
#include <random>

#include "audio/codebook.h"
#include "audio/vorbis_stream.h"
#include "vorbis_oracle.h"

namespace {

std::vector<std::uint8_t> sample_file() {
    static const std::vector<std::uint8_t> file = [] {
        oracle::Encoding e;
        e.frames = 20000;
        e.quality = 0.3f;
        return oracle::encode(e);
    }();
    return file;
}

// Reading to the end yields exactly the length; a seek then a read yields
// what is left after the seek.
void expect_consistent(const std::vector<std::uint8_t>& bytes) {
    audio::VorbisStream stream;
    if (!stream.open(bytes.data(), bytes.size())) return;
    ASSERT_GE(stream.length(), 0);
    std::vector<std::int16_t> pcm(4096u * stream.channels());
    long long total = 0;
    while (int got = stream.read(pcm.data(), 4096)) total += got;
    EXPECT_EQ(total, stream.length());
    long long length = stream.length();
    for (long long position : {0LL, length / 3, length - 5, length + 10}) {
        stream.seek(position);
        long long expected = std::min(4096LL, length - std::clamp(position, 0LL, length));
        EXPECT_EQ(stream.read(pcm.data(), 4096), expected);
    }
}

// Walks the pages so that a test can damage their bodies and then make the
// checksums right again, to get the damage past the page reader.
template <typename Damage>
void for_each_page(std::vector<std::uint8_t>* bytes, Damage damage) {
    std::size_t offset = 0;
    while (offset + 27 <= bytes->size()) {
        std::uint8_t* p = bytes->data() + offset;
        std::size_t header = 27 + p[26];
        if (offset + header > bytes->size()) return;
        std::size_t body = 0;
        for (int i = 0; i < p[26]; ++i) body += p[27 + i];
        if (offset + header + body > bytes->size()) return;
        ogg_page page{p, static_cast<long>(header), p + header, static_cast<long>(body)};
        damage(page);
        ogg_page_checksum_set(&page);
        offset += header + body;
    }
}

TEST(DamagedInput, TruncatedFilesPlayWhatIsThere) {
    std::vector<std::uint8_t> file = sample_file();
    audio::VorbisStream whole;
    ASSERT_TRUE(whole.open(file.data(), file.size()));
    for (std::size_t cut = 0; cut < file.size(); cut += file.size() / 37 + 1) {
        std::vector<std::uint8_t> part(file.begin(), file.begin() + static_cast<long>(cut));
        SCOPED_TRACE(cut);
        expect_consistent(part);
        audio::VorbisStream stream;
        if (stream.open(part.data(), part.size())) {
            EXPECT_LE(stream.length(), whole.length());
        }
    }
}

TEST(DamagedInput, BitFlipsBehindValidChecksumsReachTheDecoder) {
    std::mt19937 random(99);
    for (int round = 0; round < 60; ++round) {
        std::vector<std::uint8_t> file = sample_file();
        int flips = 1 + round % 12;
        for_each_page(&file, [&](ogg_page& page) {
            for (int i = 0; i < flips && page.body_len > 0; ++i) {
                if (random() % 3 != 0) continue;
                std::size_t at = random() % static_cast<std::size_t>(page.body_len);
                page.body[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            }
        });
        SCOPED_TRACE(round);
        expect_consistent(file);
    }
}

TEST(DamagedInput, ABadPageIsSkippedAndTheRestStillPlays) {
    oracle::Encoding e;
    e.frames = 200000;
    e.quality = 0.3f;
    std::vector<std::uint8_t> file = oracle::encode(e);
    audio::VorbisStream whole;
    ASSERT_TRUE(whole.open(file.data(), file.size()));
    std::vector<std::uint8_t> damaged = file;
    damaged[damaged.size() / 2] ^= 0x10;  // breaks that page's checksum only
    audio::VorbisStream stream;
    ASSERT_TRUE(stream.open(damaged.data(), damaged.size()));
    EXPECT_GT(stream.length(), whole.length() / 2);
    EXPECT_LT(stream.length(), whole.length());
    expect_consistent(damaged);
}

TEST(DamagedInput, ForeignAndGarbageBytesAreRefused) {
    audio::VorbisStream stream;
    EXPECT_FALSE(stream.open(nullptr, 0));
    const std::uint8_t capture[] = {'O', 'g', 'g', 'S'};
    EXPECT_FALSE(stream.open(capture, sizeof capture));
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::uint8_t> garbage(1000 + random() % 5000);
        for (auto& b : garbage) b = static_cast<std::uint8_t>(random());
        EXPECT_FALSE(stream.open(garbage.data(), garbage.size()));
    }
    // Damaged headers: the stream cannot be set up.
    std::vector<std::uint8_t> file = sample_file();
    int page_number = 0;
    for_each_page(&file, [&](ogg_page& page) {
        if (page_number++ == 1 && page.body_len > 40) page.body[page.body_len - 40] ^= 0xff;
    });
    expect_consistent(file);
}

// A setup header's codebook of `dimensions` with two entries of one bit each
// and the given lookup type (its table, if any, left out).
std::vector<std::uint8_t> two_entry_book(unsigned dimensions, unsigned lookup) {
    std::vector<std::uint8_t> bytes(16, 0);
    unsigned used = 0;
    auto field = [&](std::uint32_t value, unsigned bits) {  // least significant bit first
        for (unsigned k = 0; k < bits; ++k, ++used)
            bytes[used / 8] |= static_cast<std::uint8_t>((value >> k & 1u) << (used % 8));
    };
    field(0x564342, 24);
    field(dimensions, 16);
    field(2, 24);      // entries
    field(0, 2);       // not ordered, not sparse
    field(0, 5);       // length 1 ...
    field(0, 5);       // ... for both entries
    field(lookup, 4);
    return bytes;
}

TEST(DamagedInput, ABookOfNoDimensionsGivesEntryNumbersButNoValues) {
    std::vector<std::uint8_t> scalar = two_entry_book(0, 0);
    audio::BitReader bits(scalar.data(), scalar.size());
    audio::Codebook book;
    ASSERT_TRUE(book.read(bits));
    EXPECT_FALSE(book.has_values());
    const std::uint8_t codes[] = {0b10};
    audio::BitReader entries(codes, sizeof codes);
    EXPECT_EQ(book.decode(entries), 0);
    EXPECT_EQ(book.decode(entries), 1);

    // A value table needs vectors to fill: refused, for either lookup type.
    for (unsigned lookup : {1u, 2u}) {
        std::vector<std::uint8_t> bytes = two_entry_book(0, lookup);
        audio::BitReader table(bytes.data(), bytes.size());
        EXPECT_FALSE(audio::Codebook().read(table)) << lookup;
    }
}

}  // namespace
