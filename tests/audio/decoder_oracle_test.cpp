// Our decoder against the reference decoder, on files encoded at test time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "audio/vorbis_stream.h"
#include "vorbis_oracle.h"

namespace {

struct Case {
    const char* name;
    oracle::Encoding encoding;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

oracle::Encoding make(int channels, long rate, float quality, long frames) {
    oracle::Encoding e;
    e.channels = channels;
    e.rate = rate;
    e.quality = quality;
    e.frames = frames;
    return e;
}

std::vector<Case> matrix() {
    std::vector<Case> cases = {
        {"mono_8k_q-1", make(1, 8000, -0.1f, 12000)},
        {"stereo_11k_q0", make(2, 11025, 0.0f, 16000)},
        {"mono_16k_q2", make(1, 16000, 0.2f, 24000)},
        {"stereo_22k_q3", make(2, 22050, 0.3f, 30000)},
        {"mono_32k_q7", make(1, 32000, 0.7f, 40000)},
        {"stereo_44k_q5", make(2, 44100, 0.5f, 66150)},
        {"stereo_48k_q8", make(2, 48000, 0.8f, 50000)},
        {"stereo_96k_q10", make(2, 96000, 1.0f, 100000)},
        {"six_channels_44k_q4", make(6, 44100, 0.4f, 30000)},
        {"shorter_than_a_block", make(2, 44100, 0.5f, 300)},
    };
    oracle::Encoding managed = make(2, 44100, 0, 60000);
    managed.managed_kbps = 128;
    cases.push_back({"stereo_44k_managed_128k", managed});
    oracle::Encoding silence = make(2, 44100, 0.5f, 44100);
    silence.level = 0;
    cases.push_back({"silence", silence});
    oracle::Encoding loud = make(2, 44100, 0.6f, 30000);
    loud.level = 1.6f;  // clips: the conversion must saturate the same way
    cases.push_back({"clipping", loud});
    return cases;
}

class DecoderOracle : public ::testing::TestWithParam<Case> {};

// Largest difference between two PCM vectors, and where it is.
std::string compare(const std::vector<std::int16_t>& ours, const std::vector<std::int16_t>& ref, int* worst) {
    *worst = 0;
    std::size_t at = 0;
    for (std::size_t i = 0; i < ours.size() && i < ref.size(); ++i) {
        int d = std::abs(ours[i] - ref[i]);
        if (d > *worst) *worst = d, at = i;
    }
    return "worst difference " + std::to_string(*worst) + " at sample " + std::to_string(at);
}

TEST_P(DecoderOracle, WholeFileMatchesTheReference) {
    const Case& c = GetParam();
    std::vector<std::uint8_t> file = oracle::encode(c.encoding);
    ASSERT_FALSE(file.empty());
    oracle::Decoded ref = oracle::decode(file);
    ASSERT_TRUE(ref.ok);

    audio::VorbisStream stream;
    ASSERT_TRUE(stream.open(file.data(), file.size()));
    EXPECT_EQ(stream.channels(), c.encoding.channels);
    EXPECT_EQ(stream.rate(), static_cast<std::uint32_t>(c.encoding.rate));
    EXPECT_EQ(stream.length(), ref.total);

    std::vector<std::int16_t> ours(static_cast<std::size_t>(stream.length() + 100) * stream.channels());
    int got = stream.read(ours.data(), static_cast<int>(stream.length() + 100));
    ours.resize(static_cast<std::size_t>(got) * stream.channels());
    ASSERT_EQ(ours.size(), ref.pcm.size());
    int worst = 0;
    std::string where = compare(ours, ref.pcm, &worst);
    EXPECT_LE(worst, 1) << where;
    EXPECT_EQ(stream.read(ours.data(), 1), 0);
}

TEST_P(DecoderOracle, RandomSeeksMatchTheReference) {
    const Case& c = GetParam();
    std::vector<std::uint8_t> file = oracle::encode(c.encoding);
    audio::VorbisStream stream;
    ASSERT_TRUE(stream.open(file.data(), file.size()));
    std::mt19937 random(c.encoding.seed * 7 + 3);
    std::uniform_int_distribution<long long> anywhere(0, stream.length() - 1);
    const int frames = 700;
    std::vector<std::int16_t> ours(static_cast<std::size_t>(frames) * stream.channels());
    for (int i = 0; i < 12; ++i) {
        long long position = i == 0 ? stream.length() - 1 : anywhere(random);
        std::vector<std::int16_t> ref = oracle::read_at(file, position, frames);
        stream.seek(position);
        int got = stream.read(ours.data(), frames);
        ASSERT_EQ(static_cast<std::size_t>(got) * stream.channels(), ref.size()) << "at " << position;
        int worst = 0;
        std::string where = compare(std::vector<std::int16_t>(ours.begin(), ours.begin() + ref.size()), ref, &worst);
        EXPECT_LE(worst, 1) << "seek to " << position << ": " << where;
    }
}

INSTANTIATE_TEST_SUITE_P(Matrix, DecoderOracle, ::testing::ValuesIn(matrix()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             std::string name = param.param.name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

}  // namespace
