// The library playing through the ALSA output device, without a sound card:
// ALSA is pointed at a private configuration whose default PCM is a `file`
// PCM (raw 16-bit little-endian) in front of a sink that plays at real-time
// speed and underruns like a card. What the file PCM captured is compared
// with libvorbisfile's decode of the same file.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "audio/bass.h"
#include "audio/library.h"
#include "audio/output_device.h"
#include "eventually.h"
#include "recorded_pcm.h"
#include "temp_dir.h"
#include "vorbis_oracle.h"

namespace {

using namespace recorded;

// ALSA's configuration for one test: the default PCM records into
// `capture.raw` in the test's folder.
class AlsaCapture : public ::testing::Test {
protected:
    void SetUp() override { configure(""); }

    // `sink_options`: more settings for the sink ("rate 48000").
    void configure(const std::string& sink_options) {
        capture_path = dir.path() + "/capture.raw";
        std::string conf = "pcm_type.paced_sink { lib \"" HEDEN_PACED_SINK "\" }\n"
                           "pcm.!default {\n"
                           "  type file\n"
                           "  slave.pcm { type paced_sink " + sink_options + " }\n"
                           "  file \"" + capture_path + "\"\n"
                           "  format \"raw\"\n"
                           "}\n";
        fake::write_file(dir.path() + "/asound.conf", conf);
        setenv("ALSA_CONFIG_PATH", (dir.path() + "/asound.conf").c_str(), 1);
        snd_config_update_free_global();
    }
    void TearDown() override {
        audio_library_close();
        unsetenv("ALSA_CONFIG_PATH");
        snd_config_update_free_global();
    }

    std::vector<std::int16_t> captured() const { return recorded::read_samples(capture_path); }

    fake::TempDir dir;
    std::string capture_path;
};

struct Music {
    std::vector<std::uint8_t> file;
    oracle::Decoded reference;
};

const Music& music() {
    static const Music m = [] {
        oracle::Encoding e;
        e.frames = 66150;  // 1.5 s at 44.1 kHz, stereo
        e.quality = 0.3f;
        Music made;
        made.file = oracle::encode(e);
        made.reference = oracle::decode(made.file);
        return made;
    }();
    return m;
}

HSTREAM start_library() {
    if (!BASS_Init(-1, 44100, 0, 0, nullptr)) return 0;
    const std::vector<std::uint8_t>& file = music().file;
    return BASS_StreamCreateFile(1, file.data(), 0, file.size(), BASS_STREAM_PRESCAN);
}

// What the sink cannot have played yet, as seconds: the rounding of its clock.
constexpr double no_lead = 0.001;

TEST_F(AlsaCapture, PlaysAStreamToTheEndInRealTimeAndTheDeviceGetsEveryFrame) {
    const oracle::Decoded& ref = music().reference;
    ASSERT_TRUE(ref.ok);
    HSTREAM h = start_library();
    ASSERT_NE(h, 0u) << "error " << BASS_ErrorGetCode();
    QWORD length = BASS_ChannelGetLength(h);
    ASSERT_EQ(length, static_cast<QWORD>(ref.total) * 4);

    let_the_thread_run();  // the device runs on silence first
    QWORD end = 0;
    ASSERT_TRUE(play_until(h, length, no_lead, &end));
    let_the_thread_run();
    EXPECT_EQ(BASS_ChannelGetPosition(h), length);
    EXPECT_TRUE(BASS_ChannelStop(h));
    EXPECT_TRUE(BASS_StreamFree(h));
    audio_library_close();

    std::vector<std::int16_t> got = captured();
    long at = find(got, 0, ref.pcm.data(), 2 * 4096);
    ASSERT_GE(at, 0) << "the music's start is not in " << got.size() << " captured samples";
    EXPECT_TRUE(matches_at(got, static_cast<std::size_t>(at), ref.pcm.data(), ref.pcm.size()));
    EXPECT_TRUE(silent(got, 0, static_cast<std::size_t>(at)));
    EXPECT_TRUE(silent(got, static_cast<std::size_t>(at) + ref.pcm.size(), got.size()));
    EXPECT_GT(got.size(), static_cast<std::size_t>(at) + ref.pcm.size()) << "the device should play silence after the end";
}

TEST_F(AlsaCapture, StopHoldsThePlaceAndPlayGoesOnFromThereSeamlessly) {
    const oracle::Decoded& ref = music().reference;
    HSTREAM h = start_library();
    ASSERT_NE(h, 0u) << "error " << BASS_ErrorGetCode();
    QWORD heard = 0, stopped = 0, resumed = 0;
    Clock::time_point started = Clock::now();
    ASSERT_TRUE(play_until(h, BASS_ChannelSeconds2Bytes(h, 0.4f), no_lead, &heard));
    ASSERT_TRUE(BASS_ChannelStop(h));
    EXPECT_TRUE(heard_since(h, 0, started, no_lead, &stopped)) << "the place heard, not what was queued";
    EXPECT_GE(stopped, heard);
    let_the_thread_run();
    EXPECT_EQ(BASS_ChannelGetPosition(h), stopped);
    ASSERT_TRUE(play_until(h, stopped + BASS_ChannelSeconds2Bytes(h, 0.3f), no_lead, &resumed));
    EXPECT_TRUE(BASS_StreamFree(h));
    EXPECT_FALSE(BASS_ChannelPlay(h, 0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    audio_library_close();

    // The device got the music from its start; the file PCM also kept what
    // was queued past the stopped place and then dropped. After the silence
    // of the stop come the frames from the stopped place on.
    std::vector<std::int16_t> got = captured();
    std::size_t first_part = static_cast<std::size_t>(stopped / 2);
    long at = find(got, 0, ref.pcm.data(), 2 * 4096);
    ASSERT_GE(at, 0);
    EXPECT_TRUE(matches_at(got, static_cast<std::size_t>(at), ref.pcm.data(), first_part));
    std::size_t run = first_part;
    while (run < ref.pcm.size() && matches_at(got, static_cast<std::size_t>(at) + run, ref.pcm.data() + run, 1)) ++run;
    std::size_t second_part = static_cast<std::size_t>((resumed - stopped) / 2);
    long again = find(got, static_cast<std::size_t>(at) + run, ref.pcm.data() + first_part, second_part);
    ASSERT_GE(again, 0) << "the music after the stopped place is not in the capture";
    EXPECT_TRUE(silent(got, static_cast<std::size_t>(at) + run, static_cast<std::size_t>(again)));
}

// A card that only runs at 48 kHz: the library plays the 44.1 kHz stream
// resampled, in the same time.
TEST_F(AlsaCapture, DeviceAtAnotherRatePlaysTheStreamResampled) {
    configure("rate 48000");
    HSTREAM h = start_library();
    ASSERT_NE(h, 0u) << "error " << BASS_ErrorGetCode();
    QWORD end = 0;
    ASSERT_TRUE(play_until(h, BASS_ChannelGetLength(h), no_lead, &end));
    audio_library_close();

    std::vector<std::int16_t> got = captured();
    std::size_t first = 0, last = got.size();
    while (first < got.size() && got[first] == 0) ++first;
    while (last > first && got[last - 1] == 0) --last;
    double music_seconds = static_cast<double>(last - first) / 2 / 48000;
    EXPECT_NEAR(music_seconds, 1.5, 0.01);
}

// The device straight, as the library's thread drives it: fill, let it run
// dry (an underrun), and write again. The sink starts once a period is
// queued and plays in real time, so what it can have played is bounded by
// the time since the write began.
TEST_F(AlsaCapture, DeviceStartsOnItsOwnAndComesBackAfterAnUnderrun) {
    const audio::OutputDevice* device = audio::default_output_device();
    ASSERT_EQ(device->open(44100), 44100);
    int room = device->writable();
    ASSERT_GT(room, 1000);
    std::vector<std::int16_t> first = ramp(room, 1);
    Clock::time_point written = Clock::now();
    device->write(first.data(), room);
    int left = device->writable(), queued = device->queued(), played = frames_since(written, 44100);
    EXPECT_LE(left, played) << "the write filled the device";
    EXPECT_GE(queued, room - played);
    // Nobody starts it: the room comes back as it plays, and it runs dry no
    // sooner than its frames take to play.
    EXPECT_TRUE(fake::eventually([&] { return device->writable() >= room / 2; }));
    EXPECT_TRUE(fake::eventually([&] { return device->queued() == 0; }));
    EXPECT_GE(seconds_since(written), room / 44100.0);
    int again = device->writable();
    ASSERT_GT(again, 1000);
    std::vector<std::int16_t> second = ramp(again, 10000);
    written = Clock::now();
    device->write(second.data(), again);
    queued = device->queued();
    EXPECT_GE(queued, again - frames_since(written, 44100));
    EXPECT_TRUE(fake::eventually([&] { return device->queued() == 0; })) << "no start after the underrun";
    EXPECT_GE(seconds_since(written), again / 44100.0);
    device->close();

    std::vector<std::int16_t> got = captured();
    long at = find(got, 0, first.data(), first.size());
    ASSERT_EQ(at, 0);
    EXPECT_EQ(find(got, first.size(), second.data(), second.size()), static_cast<long>(first.size()));
}

// Writing more than there is room for takes what fits and returns: a write
// that waited for room would take all of twenty buffers' worth.
TEST_F(AlsaCapture, FullDeviceTakesNoMoreAndDoesNotBlock) {
    const audio::OutputDevice* device = audio::default_output_device();
    ASSERT_EQ(device->open(44100), 44100);
    int room = device->writable();
    std::vector<std::int16_t> frames = ramp(20 * room, 1);
    device->write(frames.data(), 20 * room);
    device->drop();
    EXPECT_EQ(device->queued(), 0);
    EXPECT_GE(device->writable(), room);
    device->close();

    std::vector<std::int16_t> got = captured();
    EXPECT_GE(got.size(), 2u * room);
    EXPECT_LT(got.size(), 2u * 20 * room);
    EXPECT_TRUE(matches_at(got, 0, frames.data(), got.size()));
}

}  // namespace
