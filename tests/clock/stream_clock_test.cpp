// The stream back-end of the clock over our audio library, playing into the
// paced null device on a clock the test moves by hand.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "audio/library.h"
#include "audio/output_device.h"
#include "audio/playback.h"
#include "clock/clock.h"
#include "clock/soundtrack.h"
#include "config/settings.h"
#include "data/file_table.h"
#include "eventually.h"
#include "fake_platform.h"
#include "temp_dir.h"
#include "vorbis_oracle.h"

namespace {

std::atomic<long> device_ms{0};
long device_clock() { return device_ms; }

const std::string& two_seconds_of_music() {
    static const std::string bytes = [] {
        oracle::Encoding e;
        e.frames = 88200;  // 2 s at 44.1 kHz
        e.quality = 0.2f;
        std::vector<std::uint8_t> file = oracle::encode(e);
        return std::string(file.begin(), file.end());
    }();
    return bytes;
}

class StreamClock : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        device_ms = 0;
        audio::NullDeviceConfig device;
        device.clock_ms = device_clock;
        audio::null_device_configure(device);
        settings.demo_length = 150.0f;
        settings.audio_enabled = 1;
        blob_open();
        fake::state.console.clear();
    }
    void TearDown() override {
        audio_library_close();
        audio::null_device_configure(audio::NullDeviceConfig{});
        blob_close();
    }

    int start_with(const std::string& music) {
        fake::write_file("pool/music.ogg", music);
        return soundtrack_init(clock, "pool/music.ogg", 0x1001);
    }

    // Lets the library's thread catch up with the commands and the clock:
    // 40 rounds take any command and fill the device again after a seek or
    // a step of the clock, however long they take.
    static void settle() {
        EXPECT_TRUE(fake::went_round(audio::playback_rounds, 40)) << "the library's thread stands still";
    }

    // Moves the device clock on in steps it can keep up with.
    static void play_for(long ms) {
        for (long done = 0; done < ms; done += 50) {
            device_ms += std::min(50L, ms - done);
            settle();
        }
    }

    float tick() { return clock_tick(clock); }

    fake::TempDir dir;
    DemoClock clock;
};

TEST_F(StreamClock, TheStreamDrivesTimeFromZero) {
    ASSERT_EQ(start_with(two_seconds_of_music()), 0);
    EXPECT_EQ(fake::state.console, "file.io  1 :: `pool/music.ogg`  " + std::to_string(two_seconds_of_music().size()) +
                                       "B \nBASS.DLL == 2.3.0.0 \n");
    EXPECT_FLOAT_EQ(clock_length(clock), 2.0f);
    clock_start(clock, 0.0f);
    settle();
    EXPECT_FLOAT_EQ(tick(), 0.0f);
    play_for(100);
    EXPECT_NEAR(tick(), 0.1f, 1e-4);
    play_for(250);
    EXPECT_NEAR(tick(), 0.35f, 1e-4);
    EXPECT_EQ(clock.track_ended, 0);
}

TEST_F(StreamClock, SeeksAreHeardAtOnce) {
    ASSERT_EQ(start_with(two_seconds_of_music()), 0);
    clock_start(clock, 0.0f);
    settle();
    play_for(100);
    clock_seek(clock, 1.25f);
    EXPECT_FLOAT_EQ(clock.demo_time, 1.25f);
    EXPECT_NEAR(tick(), 1.25f, 1e-4);
    settle();
    play_for(50);
    EXPECT_NEAR(tick(), 1.3f, 1e-4);
    clock_seek(clock, 0.5f);
    settle();
    play_for(100);
    EXPECT_NEAR(tick(), 0.6f, 1e-4);
}

TEST_F(StreamClock, StartingElsewhereSeeksFirst) {
    ASSERT_EQ(start_with(two_seconds_of_music()), 0);
    clock_start(clock, 1.5f);
    EXPECT_FLOAT_EQ(clock.demo_time, 1.5f);
    settle();
    play_for(200);
    EXPECT_NEAR(tick(), 1.7f, 1e-4);
}

TEST_F(StreamClock, TheEndOfTheTrackIsReportedAndASeekBackPlaysAgain) {
    ASSERT_EQ(start_with(two_seconds_of_music()), 0);
    clock_start(clock, 1.8f);
    settle();
    play_for(150);
    EXPECT_NEAR(tick(), 1.95f, 1e-4);
    EXPECT_EQ(clock.track_ended, 0);
    play_for(200);
    EXPECT_FLOAT_EQ(tick(), 2.0f);
    EXPECT_EQ(clock.track_ended, 1);
    play_for(300);
    EXPECT_FLOAT_EQ(tick(), 2.0f);
    clock_seek(clock, 0.5f);
    EXPECT_EQ(clock.track_ended, 0);
    settle();
    play_for(100);
    EXPECT_NEAR(tick(), 0.6f, 1e-4);
    EXPECT_EQ(clock.track_ended, 0);
    EXPECT_EQ(fake::state.console.find("error"), std::string::npos);
}

TEST_F(StreamClock, StopHoldsThePlaceAndFreeEndsTheStream) {
    ASSERT_EQ(start_with(two_seconds_of_music()), 0);
    clock_start(clock, 0.0f);
    settle();
    play_for(200);
    clock_stop(clock);
    play_for(200);
    EXPECT_NEAR(tick(), 0.2f, 1e-4);
    clock_free(clock);
    fake::state.console.clear();
    clock_start(clock, 0.0f);  // the handle is gone now
    EXPECT_EQ(fake::state.console, " Bass_ChannellPlay() :: error \n ");
}

TEST_F(StreamClock, WithoutAnOutputDeviceTheSystemClockStays) {
    audio::NullDeviceConfig refusing;
    refusing.refuse_open = true;
    audio::null_device_configure(refusing);
    EXPECT_EQ(start_with(two_seconds_of_music()), -2);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "Bass_Init(-1) oops? 3");
    EXPECT_FLOAT_EQ(clock_length(clock), 150.0f);
    fake::state.clock_ms = 1000;
    clock_start(clock, 0.0f);
    fake::state.clock_ms = 3500;
    EXPECT_FLOAT_EQ(tick(), 2.5f);
}

TEST_F(StreamClock, MusicThatIsNotVorbisLeavesTheSystemClockInCharge) {
    EXPECT_EQ(start_with("OggS but nothing after it"), -3);
    EXPECT_NE(fake::state.console.find("no music stream from `pool/music.ogg` (error 6): running on the system clock \n"),
              std::string::npos);
    EXPECT_TRUE(fake::state.boxes.empty());
    EXPECT_FLOAT_EQ(clock_length(clock), 150.0f);
    fake::state.clock_ms = 0;
    clock_start(clock, 0.0f);
    fake::state.clock_ms = 1250;
    EXPECT_FLOAT_EQ(tick(), 1.25f);
    EXPECT_EQ(clock.track_ended, 0);
}

}  // namespace
