// The library playing through the waveOut device under wine. wine hands
// waveOut to ALSA, whose default PCM here records into a file in front of a
// sink that plays at real-time speed (see CMakeLists.txt). The recording is
// compared with our own decoder's output of the demo's soundtrack; the
// decoder itself is checked against libvorbisfile by the native tests.
//
// wine 8 takes a block or two into its own buffer as soon as it is written
// and counts what it took as played: its waveOut position runs up to about
// 100 ms ahead of the sink (measured: 92 ms). The bounds below allow for
// that and no more; Windows reports the position of the sound card.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "audio/bass.h"
#include "audio/library.h"
#include "audio/output_device.h"
#include "audio/vorbis_stream.h"
#include "recorded_pcm.h"

namespace {

using namespace recorded;

struct Track {
    std::vector<std::uint8_t> file;
    std::vector<std::int16_t> start;  // our decoder's first seconds
    std::uint32_t rate = 0;
};

constexpr int decoded_frames = 3 * 44100;
constexpr int wine_lead_frames = 44100 * 15 / 100;  // what wine counts before the sink has it

const Track& track() {
    static const Track t = [] {
        Track made;
        std::ifstream in(HEDEN_SOUNDTRACK, std::ios::binary);
        made.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        audio::VorbisStream stream;
        if (!stream.open(made.file.data(), made.file.size())) return made;
        made.rate = stream.rate();
        made.start.resize(2 * decoded_frames);
        made.start.resize(2 * static_cast<std::size_t>(stream.read(made.start.data(), decoded_frames)));
        return made;
    }();
    return t;
}

class WaveOut : public ::testing::Test {
protected:
    void TearDown() override { audio_library_close(); }
};

TEST_F(WaveOut, PlaysTheSoundtrackInRealTimeAndTheDeviceGetsItsFrames) {
    const Track& t = track();
    ASSERT_EQ(t.rate, 44100u) << HEDEN_SOUNDTRACK;
    ASSERT_EQ(t.start.size(), 2u * decoded_frames);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, 0, nullptr)) << "error " << BASS_ErrorGetCode();
    HSTREAM h = BASS_StreamCreateFile(1, t.file.data(), 0, t.file.size(), BASS_STREAM_PRESCAN);
    ASSERT_NE(h, 0u);

    sleep_ms(150);  // the device runs on silence first
    Clock::time_point started = Clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(h, 0));
    QWORD target = BASS_ChannelSeconds2Bytes(h, 1.5f), last = 0;
    double reached = -1;
    while (seconds_since(started) < 5.0) {
        QWORD pos = BASS_ChannelGetPosition(h);
        ASSERT_GE(pos, last);
        last = pos;
        if (pos >= target) {
            reached = seconds_since(started);
            break;
        }
        sleep_ms(5);
    }
    ASSERT_GT(reached, 0) << "position stuck at " << last;
    // Paced by the sink: 1.5 s of music takes 1.5 s, less wine's lead.
    EXPECT_GE(reached, 1.35);
    EXPECT_LE(reached, 1.9);
    ASSERT_TRUE(BASS_ChannelStop(h));
    QWORD stopped = BASS_ChannelGetPosition(h);
    sleep_ms(200);
    EXPECT_EQ(BASS_ChannelGetPosition(h), stopped);
    EXPECT_TRUE(BASS_StreamFree(h));
    audio_library_close();

    // The recording holds silence, then the soundtrack from its first frame
    // on, about as far as the position said was heard, then the silence
    // after the stop: nothing lost, repeated or out of order.
    std::vector<std::int16_t> got = recorded::read_samples(HEDEN_CAPTURE);
    long at = find(got, 0, t.start.data(), 2 * 4096);
    ASSERT_GE(at, 0) << "the soundtrack's start is not in " << got.size() << " recorded samples";
    std::size_t heard = static_cast<std::size_t>(stopped / 2);
    ASSERT_LE(heard, t.start.size());
    std::size_t run = 0, from = static_cast<std::size_t>(at);
    while (run < t.start.size() && matches_at(got, from + run, t.start.data() + run, 2)) run += 2;
    EXPECT_GE(run + 2 * wine_lead_frames, heard) << "music recorded: " << run / 2 << " frames, heard " << heard / 2;
    EXPECT_LE(run, heard + 2 * wine_lead_frames);
    EXPECT_TRUE(silent(got, 0, from));
    EXPECT_TRUE(silent(got, from + run, got.size())) << "after the stop";
}

// The device as the library's thread drives it: fill it, let it run dry,
// write again; both runs reach the sink whole and in order. A write beyond
// the room neither blocks nor queues more.
TEST_F(WaveOut, DeviceTakesWhatFitsRunsDryAndComesBack) {
    const audio::OutputDevice* device = audio::default_output_device();
    ASSERT_EQ(device->open(44100), 44100);
    int room = device->writable();
    ASSERT_GE(room, 4096);
    std::vector<std::int16_t> first = ramp(2 * room, 1);
    Clock::time_point t = Clock::now();
    device->write(first.data(), 2 * room);
    EXPECT_LT(seconds_since(t), 0.05);
    EXPECT_LE(device->writable(), wine_lead_frames) << "full but for what wine took";
    EXPECT_LE(device->queued(), room);
    EXPECT_GE(device->queued(), room - wine_lead_frames);
    sleep_ms(room * 1000 / 44100 + 300);  // ran dry
    EXPECT_EQ(device->queued(), 0);
    int again = device->writable();
    ASSERT_EQ(again, room);
    std::vector<std::int16_t> second = ramp(again, 20000);
    device->write(second.data(), again);
    EXPECT_GE(device->queued(), again - wine_lead_frames);
    sleep_ms(again * 1000 / 44100 + 300);
    EXPECT_EQ(device->queued(), 0);
    device->close();

    std::vector<std::int16_t> got = recorded::read_samples(HEDEN_CAPTURE);
    long at = find(got, 0, first.data(), 2 * static_cast<std::size_t>(room));
    ASSERT_GE(at, 0) << "the first run is not whole in the recording";
    long next = find(got, static_cast<std::size_t>(at) + 2 * room, second.data(), second.size());
    EXPECT_GE(next, at + 2 * room) << "the second run is not whole after the first";
    EXPECT_TRUE(silent(got, static_cast<std::size_t>(at) + 2 * room, static_cast<std::size_t>(next)));
}

// A seek drops what is queued: the device must be empty at once and take a
// whole buffer again.
TEST_F(WaveOut, DropEmptiesTheDeviceAtOnce) {
    const audio::OutputDevice* device = audio::default_output_device();
    ASSERT_EQ(device->open(44100), 44100);
    int room = device->writable();
    std::vector<std::int16_t> frames = ramp(room, 1);
    device->write(frames.data(), room);
    sleep_ms(30);
    device->drop();
    EXPECT_EQ(device->queued(), 0);
    EXPECT_EQ(device->writable(), room);
    device->write(frames.data(), room / 2);
    EXPECT_LE(device->queued(), room / 2);
    EXPECT_GE(device->queued(), room / 2 - wine_lead_frames);
    device->close();
}

}  // namespace
