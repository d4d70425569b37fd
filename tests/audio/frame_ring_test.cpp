// The ring between the library's thread and a browser's audio callback.
#include <gtest/gtest.h>

#include <vector>

#include "audio/frame_ring.h"

namespace {

std::vector<std::int16_t> frames_from(int first, int count) {
    std::vector<std::int16_t> f;
    for (int i = 0; i < count; ++i) {
        f.push_back(static_cast<std::int16_t>(first + i));
        f.push_back(static_cast<std::int16_t>(-(first + i)));
    }
    return f;
}

// A callback that comes late finds the ring short: it plays what there is,
// then silence, and the frames written afterwards follow on without a
// frame lost or played twice, across the ring's wrap.
TEST(FrameRing, ALateCallbackGetsSilenceAndNothingIsLostOrRepeated) {
    audio::FrameRing ring(8);
    std::vector<std::int16_t> out(2 * 6, 99);
    auto first = frames_from(1, 5);
    ASSERT_EQ(ring.write(first.data(), 5), 5);
    EXPECT_EQ(ring.take(out.data(), 6), 5);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 0, 0}));
    EXPECT_EQ(ring.starved(), 1);

    auto next = frames_from(6, 10);
    EXPECT_EQ(ring.write(next.data(), 10), 8) << "never more than the room";
    EXPECT_EQ(ring.room(), 0);
    std::vector<std::int16_t> rest(2 * 8);
    EXPECT_EQ(ring.take(rest.data(), 8), 8);
    EXPECT_EQ(rest, frames_from(6, 8));
    EXPECT_EQ(ring.starved(), 1);
}

TEST(FrameRing, ClearingDropsWhatWasQueued) {
    audio::FrameRing ring(4);
    auto f = frames_from(1, 3);
    ring.write(f.data(), 3);
    ring.clear();
    EXPECT_EQ(ring.filled(), 0);
    ring.write(f.data() + 4, 1);
    std::vector<std::int16_t> out(2);
    EXPECT_EQ(ring.take(out.data(), 1), 1);
    EXPECT_EQ(out, frames_from(3, 1));
}

}  // namespace
