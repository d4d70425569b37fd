// The frame back-end: time from the frame count, the end of the music as
// the stream reports it, and the process clock the frames see.
#include <gtest/gtest.h>

#include <cmath>

#include "clock/clock.h"
#include "fake_platform.h"

namespace {

class FrameClock : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        demo_time = 0;
        track_ended = 0;
        demo_length = 150.0f;
    }
};

TEST_F(FrameClock, EachTickShowsTheNextFrameWhateverTheWallClockDoes) {
    clock_install_frame(1.5, 30, 100.0);
    EXPECT_FLOAT_EQ(demo_length, 100.0f);
    ClockOps.clock_start(1.5f);
    for (int frame = 0; frame < 90; ++frame) {
        fake::state.clock_ms = frame * 977;  // a slow, uneven renderer
        ClockOps.clock_tick();
        ASSERT_EQ(demo_time, static_cast<float>(1.5 + frame / 30.0)) << frame;
        ASSERT_EQ(clock_process_ms(), std::llround((1.5 + frame / 30.0) * 1000)) << frame;
    }
    EXPECT_EQ(track_ended, 0);
    // Seeking (the timeline window) would cut the run of frames: ignored.
    ClockOps.clock_seek(50.0f);
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, static_cast<float>(1.5 + 90 / 30.0));
}

TEST_F(FrameClock, AtTheEndOfTheMusicTheFlagRisesAndTheTimeHoldsWhileFramesGoOn) {
    clock_install_frame(9.9, 10, 10.05);
    ClockOps.clock_start(9.9f);
    ClockOps.clock_tick();  // 9.9
    ClockOps.clock_tick();  // 10.0
    EXPECT_EQ(track_ended, 0);
    EXPECT_FLOAT_EQ(demo_time, 10.0f);
    ClockOps.clock_tick();  // 10.1: past the end
    EXPECT_EQ(track_ended, 1);
    EXPECT_FLOAT_EQ(demo_time, 10.05f);
    long first_ended = clock_process_ms();
    for (int i = 0; i < 20; ++i) ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 10.05f);
    // Whatever counts seconds since the end runs on with the frames.
    EXPECT_EQ(clock_process_ms() - first_ended, 2000);
}

TEST_F(FrameClock, StartKeepsTheInstalledTimeExactAndRestartsTheCount) {
    clock_install_frame(0.1, 3, 100.0);
    ClockOps.clock_start(0.1f);
    ClockOps.clock_tick();
    ClockOps.clock_tick();
    ClockOps.clock_tick();
    EXPECT_EQ(clock_process_ms(), 767);  // 0.1 + 2/3 s, not 0.1f's rounding
    ClockOps.clock_start(0.1f);
    ClockOps.clock_tick();
    EXPECT_EQ(clock_process_ms(), 100);
}

TEST_F(FrameClock, OtherBackEndsSeeThePlatformProcessClock) {
    clock_install_frame(5.0, 60, 100.0);
    ClockOps.clock_start(5.0f);
    ClockOps.clock_tick();
    EXPECT_EQ(clock_process_ms(), 5000);
    clock_install_system();
    fake::state.clock_ms = 1234;
    EXPECT_EQ(clock_process_ms(), 1234);
}

}  // namespace
