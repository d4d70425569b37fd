#include "clock/clock.h"

#include <gtest/gtest.h>

#include "clock/soundtrack.h"
#include "data/file_table.h"
#include "fake_platform.h"
#include "temp_dir.h"

namespace {

class SystemClock : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        demo_time = 0;
        track_ended = 0;
        demo_length = 150.0f;
        clock_install_system();
    }
};

TEST_F(SystemClock, StartCountsFromTheGivenTime) {
    fake::state.clock_ms = 9000;  // time spent loading
    ClockOps.clock_start(0.0f);
    EXPECT_FLOAT_EQ(demo_time, 0.0f);
    fake::state.clock_ms = 9250;
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 0.25f);
}

TEST_F(SystemClock, SeekContinuesFromTheNewTime) {
    fake::state.clock_ms = 1000;
    ClockOps.clock_seek(10.0f);
    EXPECT_FLOAT_EQ(demo_time, 10.0f);
    fake::state.clock_ms = 1500;
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 10.5f);
}

TEST_F(SystemClock, TimeStopsAtTheLengthButSeeksBackStillWork) {
    ClockOps.clock_start(0.0f);
    fake::state.clock_ms = 200000;
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 150.0f);
    EXPECT_EQ(track_ended, 0);
    ClockOps.clock_seek(30.0f);
    fake::state.clock_ms = 201000;
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 31.0f);
}

TEST_F(SystemClock, ZeroLengthKeepsTimeAtZero) {
    demo_length = 0.0f;
    ClockOps.clock_start(0.0f);
    for (long ms : {0L, 16L, 5000L}) {
        fake::state.clock_ms = ms;
        ClockOps.clock_tick();
        EXPECT_FLOAT_EQ(demo_time, 0.0f);
    }
}

TEST_F(SystemClock, StopAndFreeChangeNothing) {
    ClockOps.clock_seek(3.0f);
    ClockOps.clock_stop();
    ClockOps.clock_free();
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 3.0f);
    EXPECT_TRUE(fake::state.calls.empty());
}

class Soundtrack : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        ClockOps = ClockTable{};
        blob_open();
        fake::state.console.clear();
    }
    void TearDown() override { blob_close(); }
    fake::TempDir dir;
};

TEST_F(Soundtrack, SilentRunStillLoadsTheMusicAndKeepsTheConfiguredLength) {
    audio_enabled = 0;
    demo_length = 42.0f;
    fake::write_file("pool/music.ogg", "OggS....");
    EXPECT_EQ(soundtrack_init("pool/music.ogg", 0x1001), 0);
    EXPECT_EQ(file_table.count, 1);
    EXPECT_EQ(fake::state.console, "file.io  1 :: `pool/music.ogg`  8B \nsilence?\n");
    ASSERT_NE(ClockOps.clock_tick, nullptr);
    fake::state.clock_ms = 100000;
    ClockOps.clock_start(0.0f);
    fake::state.clock_ms = 190000;
    ClockOps.clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 42.0f);
    EXPECT_FLOAT_EQ(demo_length, 42.0f);
}

TEST_F(Soundtrack, MissingMusicFileStillLeavesAWorkingClock) {
    audio_enabled = 0;
    EXPECT_EQ(soundtrack_init("pool/none.ogg", 0x1001), 0);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "file pool/none.ogg does not exist?");
    EXPECT_NE(ClockOps.clock_seek, nullptr);
}

}  // namespace
