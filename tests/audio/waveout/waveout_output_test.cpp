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
#include "eventually.h"
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

// wine pads its sink with silence whenever it falls behind, which a busy
// machine makes happen anywhere: frames count as recorded whole and in
// order when only silent frames come between them.
struct Found {
    std::size_t samples = 0;  // of the frames looked for, found in order
    std::size_t end = 0;      // where the recording goes on after them
};

Found recorded_run(const std::vector<std::int16_t>& got, std::size_t at, const std::int16_t* want, std::size_t count) {
    Found run{0, at};
    while (run.end + 2 <= got.size() && run.samples < count) {
        if (matches_at(got, run.end, want + run.samples, 2))
            run.samples += 2;
        else if (got[run.end] != 0 || got[run.end + 1] != 0)
            break;
        run.end += 2;
    }
    return run;
}

// The first sample of a frame that is not silent; `size` when there is none.
std::size_t first_sound(const std::int16_t* samples, std::size_t size) {
    std::size_t at = 0;
    while (at + 1 < size && samples[at] == 0 && samples[at + 1] == 0) at += 2;
    return at;
}

class WaveOut : public ::testing::Test {
protected:
    void TearDown() override { audio_library_close(); }
};

constexpr double wine_lead = static_cast<double>(wine_lead_frames) / 44100;

TEST_F(WaveOut, PlaysTheSoundtrackInRealTimeAndTheDeviceGetsItsFrames) {
    const Track& t = track();
    ASSERT_EQ(t.rate, 44100u) << HEDEN_SOUNDTRACK;
    ASSERT_EQ(t.start.size(), 2u * decoded_frames);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, 0, nullptr)) << "error " << BASS_ErrorGetCode();
    HSTREAM h = BASS_StreamCreateFile(1, t.file.data(), 0, t.file.size(), BASS_STREAM_PRESCAN);
    ASSERT_NE(h, 0u);

    let_the_thread_run();  // the device runs on silence first
    QWORD reached = 0;
    ASSERT_TRUE(play_until(h, BASS_ChannelSeconds2Bytes(h, 1.5f), wine_lead, &reached));
    ASSERT_TRUE(BASS_ChannelStop(h));
    QWORD stopped = BASS_ChannelGetPosition(h);
    let_the_thread_run();
    EXPECT_EQ(BASS_ChannelGetPosition(h), stopped);
    EXPECT_TRUE(BASS_StreamFree(h));
    audio_library_close();

    // The recording holds silence, then the soundtrack from its first frame
    // on, about as far as the position said was heard, then the silence
    // after the stop: nothing lost, repeated or out of order.
    std::vector<std::int16_t> got = recorded::read_samples(HEDEN_CAPTURE);
    std::size_t lead_in = first_sound(t.start.data(), t.start.size()), at = first_sound(got.data(), got.size());
    ASSERT_LT(at, got.size()) << "nothing but silence in " << got.size() << " recorded samples";
    Found music = recorded_run(got, at, t.start.data() + lead_in, t.start.size() - lead_in);
    std::size_t run = lead_in + music.samples, heard = static_cast<std::size_t>(stopped / 2);
    ASSERT_LE(heard, t.start.size());
    EXPECT_GE(run + 2 * wine_lead_frames, heard) << "music recorded: " << run / 2 << " frames, heard " << heard / 2;
    EXPECT_LE(run, heard + 2 * wine_lead_frames);
    EXPECT_TRUE(silent(got, music.end, got.size())) << "after the stop";
}

// The device as the library's thread drives it: fill it, let it run dry,
// write again; both runs reach the sink whole and in order. A write beyond
// the room takes what fits and returns: one that waited for room would take
// all of twenty rings' worth. What the sink can have played since a write
// bounds what the device says after it.
TEST_F(WaveOut, DeviceTakesWhatFitsRunsDryAndComesBack) {
    const audio::OutputDevice* device = audio::default_output_device();
    ASSERT_EQ(device->open(44100), 44100);
    int room = device->writable();
    ASSERT_GE(room, 4096);
    std::vector<std::int16_t> first = ramp(20 * room, 1);
    Clock::time_point written = Clock::now();
    device->write(first.data(), 20 * room);
    int left = device->writable(), queued = device->queued(), played = frames_since(written, 44100);
    EXPECT_LE(left, wine_lead_frames + played) << "full but for what wine took";
    EXPECT_LE(queued, room);
    EXPECT_GE(queued, room - wine_lead_frames - played);
    EXPECT_TRUE(fake::eventually([&] { return device->queued() == 0 && device->writable() == room; })) << "ran dry";
    EXPECT_GE(seconds_since(written), static_cast<double>(room - wine_lead_frames) / 44100);
    std::vector<std::int16_t> second = ramp(room, 20000);
    written = Clock::now();
    device->write(second.data(), room);
    queued = device->queued();
    EXPECT_GE(queued, room - wine_lead_frames - frames_since(written, 44100));
    // wine counts what it took as played before ALSA has it, and ALSA's file
    // plugin writes whole buffers: the run reaches the recording later, as
    // wine goes on with silence.
    Found one, two;
    auto both_recorded = [&] {
        std::vector<std::int16_t> got = recorded::read_samples(HEDEN_CAPTURE);
        one = recorded_run(got, first_sound(got.data(), got.size()), first.data(), first.size());
        two = recorded_run(got, one.end, second.data(), second.size());
        return two.samples == second.size();
    };
    EXPECT_TRUE(fake::eventually(both_recorded)) << "the second run is not whole after the first";
    device->close();
    EXPECT_GE(one.samples, 2u * room) << "the first run is not whole in the recording";
    EXPECT_LT(one.samples, first.size()) << "the write waited for room";
}

// A seek drops what is queued: the device must be empty at once and take a
// whole buffer again.
TEST_F(WaveOut, DropEmptiesTheDeviceAtOnce) {
    const audio::OutputDevice* device = audio::default_output_device();
    ASSERT_EQ(device->open(44100), 44100);
    int room = device->writable();
    std::vector<std::int16_t> frames = ramp(room, 1);
    device->write(frames.data(), room);
    EXPECT_TRUE(fake::eventually([&] { return device->queued() < room; })) << "playing";
    device->drop();
    EXPECT_EQ(device->queued(), 0);
    EXPECT_EQ(device->writable(), room);
    Clock::time_point written = Clock::now();
    device->write(frames.data(), room / 2);
    int queued = device->queued();
    EXPECT_LE(queued, room / 2);
    EXPECT_GE(queued, room / 2 - wine_lead_frames - frames_since(written, 44100));
    device->close();
}

}  // namespace
