// What start-up computes without a GL context: the random sequence, the
// texture treatments, the tone split values, and the order of list sharing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "config/settings.h"
#include "demo/frame_schedule.h"
#include "clock/clock.h"
#include "demo/frame_view.h"
#include "demo/precalc.h"
#include "demo/random.h"
#include "demo/texture_fill.h"
#include "fake_platform.h"
#include "gl/glext.h"
#include "gl/pbuffer.h"
#include "window/window.h"

namespace {

TEST(Random, UpperBoundIsExclusiveAndTheSequenceNeverRestarts) {
    EXPECT_EQ(rand_start, 480764368u);
    rand_state = rand_start;
    bool saw_top = false;
    for (int i = 0; i < 100000; ++i) {
        unsigned v = rand_range(192, 255);
        ASSERT_GE(v, 192u);
        ASSERT_LT(v, 255u);
        saw_top |= v == 254;
    }
    EXPECT_TRUE(saw_top);
    // Each draw takes the previous state through (s * 1371 + 271) mod 2^32
    // mod 65537; worked out here in 64 bits.
    rand_state = rand_start;
    std::uint64_t s = rand_start;
    for (int i = 0; i < 5; ++i) {
        s = ((s * 1371 + 271) & 0xFFFFFFFFu) % 65537;
        EXPECT_EQ(rand_range(10, 20), 10 + s % 10);
    }
    rand_seed(1337);
    EXPECT_EQ(rand_state, s + 1337);
}

TEST(Grain, SameEveryRunAndWithinItsRanges) {
    std::vector<std::uint8_t> first(grain_size * grain_size * 4), second(first.size());
    rand_state = rand_start;
    grain_generate(first.data());
    rand_state = rand_start;
    grain_generate(second.data());
    EXPECT_EQ(first, second);
    for (std::size_t i = 0; i < first.size(); i += 4) {
        ASSERT_TRUE(first[i] == first[i + 1] && first[i] == first[i + 2]) << "grey";
        ASSERT_GE(first[i + 3], 192);
        ASSERT_LT(first[i + 3], 255);
        ASSERT_LT(first[i], 255);
    }
}

TEST(TextureTreatments, GreenKeyAndRedIntoAlpha) {
    std::uint8_t keyed[] = {0, 255, 0, 17, 0, 254, 0, 255, 10, 20, 30, 40};
    key_green(keyed, 3);
    const std::uint8_t keyed_expected[] = {0, 0, 0, 255, 0, 254, 0, 0, 10, 20, 30, 0};
    EXPECT_TRUE(std::equal(keyed, keyed + 12, keyed_expected));
    std::uint8_t noise[] = {200, 10, 10, 255, 3, 4, 5, 6};
    red_into_alpha(noise, 2);
    const std::uint8_t noise_expected[] = {200, 10, 10, 199, 3, 4, 5, 9};
    EXPECT_TRUE(std::equal(noise, noise + 8, noise_expected));
}

TEST(ToneSplit, UniformsStayFiniteAtAndAboveLevelOne) {
    ToneSplit plain = tone_split_values(0.5f);
    EXPECT_FLOAT_EQ(plain.cut, 0.5f);
    EXPECT_FLOAT_EQ(plain.icut, 1.8f);
    for (float level : {1.0f, 1.0000001f, 0.9999999f, 1.5f, 3.0f}) {
        ToneSplit v = tone_split_values(level);
        EXPECT_TRUE(std::isfinite(v.icut) && std::isfinite(v.cut)) << level;
        EXPECT_GT(v.icut, 0) << level;
        EXPECT_LE(v.icut, 0.9f * 1024) << level;
    }
    EXPECT_FLOAT_EQ(tone_split_values(-1.0f).icut, 0.45f);
}

TEST(FrameView, BeatsAndBarsFromTheTime) {
    EXPECT_DOUBLE_EQ(beats_per_second, 152.0 / 60);  // the music's tempo
    FrameView start = frame_view_at(-3, AreaSize{settings.area_width, settings.area_height});
    EXPECT_EQ(start.beat, 0);
    EXPECT_EQ(start.bar_phase, 0);
    FrameView bar = frame_view_at(static_cast<float>(6 / beats_per_second),
                                  AreaSize{settings.area_width, settings.area_height});
    EXPECT_NEAR(bar.beat, 6, 1e-5);
    EXPECT_NEAR(bar.bar_phase, 0.5, 1e-5);
    // Times no clock gives keep every beat-derived index in range.
    FrameView far = frame_view_at(3e38f, AreaSize{settings.area_width, settings.area_height});
    EXPECT_LE(far.beat, 1e9);
    EXPECT_GE(far.bar_phase, 0);
    EXPECT_LT(far.bar_phase, 1);
}

TEST(ListSharing, EveryRenderTargetSharesWithTheMainContextInOrder) {
    fake::reset();
    platform::console_allocate();
    window_state.main_context = 0x3001;
    for (int i = 0; i < render_target_count; ++i) render_targets[i].context = 0x4000 + i;
    precalc_share_lists();
    std::vector<std::string> shares;
    for (const std::string& call : fake::state.calls)
        if (call.rfind("share_gl_lists", 0) == 0) shares.push_back(call);
    EXPECT_EQ(shares, (std::vector<std::string>{"share_gl_lists(0x3001,0x4000)", "share_gl_lists(0x3001,0x4001)",
                                                "share_gl_lists(0x3001,0x4002)", "share_gl_lists(0x3001,0x4003)",
                                                "share_gl_lists(0x3001,0x4004)"}));
    EXPECT_EQ(fake::state.console, "w g l\n");
}

}  // namespace
