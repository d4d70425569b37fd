#include "clock/clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "clock/soundtrack.h"
#include "config/settings.h"
#include "data/file_table.h"
#include "fake_platform.h"
#include "temp_dir.h"

namespace {

class SystemClock : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings.demo_length = 150.0f;
        clock_install_system(clock);
    }
    DemoClock clock;
};

TEST_F(SystemClock, StartCountsFromTheGivenTime) {
    fake::state.clock_ms = 9000;  // time spent loading
    clock_start(clock, 0.0f);
    EXPECT_FLOAT_EQ(clock.demo_time, 0.0f);
    fake::state.clock_ms = 9250;
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 0.25f);
}

TEST_F(SystemClock, SeekContinuesFromTheNewTime) {
    fake::state.clock_ms = 1000;
    clock_seek(clock, 10.0f);
    EXPECT_FLOAT_EQ(clock.demo_time, 10.0f);
    fake::state.clock_ms = 1500;
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 10.5f);
}

TEST_F(SystemClock, TimeStopsAtTheLengthButSeeksBackStillWork) {
    clock_start(clock, 0.0f);
    fake::state.clock_ms = 200000;
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 150.0f);
    EXPECT_EQ(clock.track_ended, 0);
    clock_seek(clock, 30.0f);
    fake::state.clock_ms = 201000;
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 31.0f);
}

TEST_F(SystemClock, ZeroLengthKeepsTimeAtZero) {
    settings.demo_length = 0.0f;
    clock_start(clock, 0.0f);
    for (long ms : {0L, 16L, 5000L}) {
        fake::state.clock_ms = ms;
        clock_tick(clock);
        EXPECT_FLOAT_EQ(clock.demo_time, 0.0f);
    }
}

TEST_F(SystemClock, StopAndFreeChangeNothing) {
    clock_seek(clock, 3.0f);
    clock_stop(clock);
    clock_free(clock);
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 3.0f);
    EXPECT_TRUE(fake::state.calls.empty());
}

class Soundtrack : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        blob_open();
        fake::state.console.clear();
    }
    void TearDown() override { blob_close(); }
    fake::TempDir dir;
    DemoClock clock;
};

TEST_F(Soundtrack, SilentRunStillLoadsTheMusicAndKeepsTheConfiguredLength) {
    settings.audio_enabled = 0;
    settings.demo_length = 42.0f;
    fake::write_file("pool/music.ogg", "OggS....");
    EXPECT_EQ(soundtrack_init(clock, "pool/music.ogg", 0x1001), 0);
    EXPECT_EQ(file_table.count, 1);
    EXPECT_EQ(fake::state.console, "file.io  1 :: `pool/music.ogg`  8B \nsilence?\n");
    ASSERT_NE(clock.ops.clock_tick, nullptr);
    fake::state.clock_ms = 100000;
    clock_start(clock, 0.0f);
    fake::state.clock_ms = 190000;
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 42.0f);
    EXPECT_FLOAT_EQ(clock_length(clock), 42.0f);
}

TEST_F(Soundtrack, MissingMusicFileStillLeavesAWorkingClock) {
    settings.audio_enabled = 0;
    EXPECT_EQ(soundtrack_init(clock, "pool/none.ogg", 0x1001), 0);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "file pool/none.ogg does not exist?");
    EXPECT_NE(clock.ops.clock_seek, nullptr);
}

// The frame back-end: time from the frame count, the end of the music as
// the stream reports it, and the process clock the frames see. Each test
// installs it over the system clock.
using FrameClock = SystemClock;

TEST_F(FrameClock, EachTickShowsTheNextFrameWhateverTheWallClockDoes) {
    clock_install_frame(clock, 1.5, 30, 100.0);
    EXPECT_FLOAT_EQ(clock_length(clock), 100.0f);
    clock_start(clock, 1.5f);
    for (int frame = 0; frame < 90; ++frame) {
        fake::state.clock_ms = frame * 977;  // a slow, uneven renderer
        clock_tick(clock);
        ASSERT_EQ(clock.demo_time, static_cast<float>(1.5 + frame / 30.0)) << frame;
        ASSERT_EQ(clock_process_ms(clock), std::llround((1.5 + frame / 30.0) * 1000)) << frame;
    }
    EXPECT_EQ(clock.track_ended, 0);
    // Seeking (the timeline window) would cut the run of frames: ignored.
    clock_seek(clock, 50.0f);
    clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, static_cast<float>(1.5 + 90 / 30.0));
}

TEST_F(FrameClock, AtTheEndOfTheMusicTheFlagRisesAndTheTimeHoldsWhileFramesGoOn) {
    clock_install_frame(clock, 9.9, 10, 10.05);
    clock_start(clock, 9.9f);
    clock_tick(clock);  // 9.9
    clock_tick(clock);  // 10.0
    EXPECT_EQ(clock.track_ended, 0);
    EXPECT_FLOAT_EQ(clock.demo_time, 10.0f);
    clock_tick(clock);  // 10.1: past the end
    EXPECT_EQ(clock.track_ended, 1);
    EXPECT_FLOAT_EQ(clock.demo_time, 10.05f);
    long first_ended = clock_process_ms(clock);
    for (int i = 0; i < 20; ++i) clock_tick(clock);
    EXPECT_FLOAT_EQ(clock.demo_time, 10.05f);
    // Whatever counts seconds since the end runs on with the frames.
    EXPECT_EQ(clock_process_ms(clock) - first_ended, 2000);
}

TEST_F(FrameClock, StartKeepsTheInstalledTimeExactAndRestartsTheCount) {
    clock_install_frame(clock, 0.1, 3, 100.0);
    clock_start(clock, 0.1f);
    clock_tick(clock);
    clock_tick(clock);
    clock_tick(clock);
    EXPECT_EQ(clock_process_ms(clock), 767);  // 0.1 + 2/3 s, not 0.1f's rounding
    clock_start(clock, 0.1f);
    clock_tick(clock);
    EXPECT_EQ(clock_process_ms(clock), 100);
}

TEST_F(FrameClock, OtherBackEndsSeeThePlatformProcessClock) {
    clock_install_frame(clock, 5.0, 60, 100.0);
    clock_start(clock, 5.0f);
    clock_tick(clock);
    EXPECT_EQ(clock_process_ms(clock), 5000);
    clock_install_system(clock);
    fake::state.clock_ms = 1234;
    EXPECT_EQ(clock_process_ms(clock), 1234);
}

}  // namespace
