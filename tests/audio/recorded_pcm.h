// For the output device tests: what a device played, as recorded by ALSA's
// file plugin (raw 16-bit little-endian stereo), how to find known frames in
// it, and the wall clock the device and the library's position are held to.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/bass.h"
#include "audio/playback.h"
#include "eventually.h"

namespace recorded {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// The most frames a device playing `rate` frames a second in real time can
// have played since `t`. Taken after reading the device, it bounds what the
// device said however long the reading was held up.
inline int frames_since(Clock::time_point t, int rate) { return static_cast<int>(seconds_since(t) * rate) + 1; }

inline std::vector<std::int16_t> read_samples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return samples;
}

// Within the decoder's ±1.
inline bool matches_at(const std::vector<std::int16_t>& got, std::size_t at, const std::int16_t* want,
                       std::size_t count) {
    if (at + count > got.size()) return false;
    for (std::size_t i = 0; i < count; ++i)
        if (std::abs(got[at + i] - want[i]) > 1) return false;
    return true;
}

// Where `count` samples of `want` appear in `got` (frame aligned, from
// `from` on); -1 when nowhere.
inline long find(const std::vector<std::int16_t>& got, std::size_t from, const std::int16_t* want,
                 std::size_t count) {
    for (std::size_t at = from; at + count <= got.size(); at += 2)
        if (matches_at(got, at, want, count)) return static_cast<long>(at);
    return -1;
}

inline bool silent(const std::vector<std::int16_t>& v, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (v[i] != 0) return false;
    return true;
}

// Frames that cannot be mistaken for music or for each other: the left
// channel counts up from `from`, the right one down.
inline std::vector<std::int16_t> ramp(int frames, int from) {
    std::vector<std::int16_t> v(2 * static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        v[2 * i] = static_cast<std::int16_t>(from + i);
        v[2 * i + 1] = static_cast<std::int16_t>(-(from + i));
    }
    return v;
}

// Play drops what the device holds and its sink starts again on the music,
// playing it in real time: read at any time after, the position cannot have
// moved on from `from` by more than the time since `since`, the moment of the
// play, and the `lead` the device counts as played before its sink has it.
// Read first, then the time, so a reader held up in between is held to more
// time, not less.
inline ::testing::AssertionResult heard_since(HSTREAM h, QWORD from, Clock::time_point since, double lead,
                                              QWORD* position) {
    *position = BASS_ChannelGetPosition(h);
    double passed = seconds_since(since);
    double heard = *position < from ? 0 : BASS_ChannelBytes2Seconds(h, *position - from);
    if (heard <= passed + lead) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << heard << " s heard " << passed << " s after play";
}

// Plays `h` until the position is at least `until` (or the end): it never
// goes back, never runs ahead of the sink and does not stick.
inline ::testing::AssertionResult play_until(HSTREAM h, QWORD until, double lead, QWORD* position) {
    until = std::min(until, BASS_ChannelGetLength(h));
    QWORD from = BASS_ChannelGetPosition(h);
    *position = from;
    Clock::time_point started = Clock::now();
    if (!BASS_ChannelPlay(h, 0)) return ::testing::AssertionFailure() << "no play: error " << BASS_ErrorGetCode();
    ::testing::AssertionResult verdict = ::testing::AssertionSuccess();
    auto moved_on = [&] {
        QWORD pos = 0;
        verdict = heard_since(h, from, started, lead, &pos);
        if (verdict && pos < *position)
            verdict = ::testing::AssertionFailure() << "position went back from " << *position << " to " << pos;
        if (!verdict) return true;
        *position = pos;
        return pos >= until;
    };
    if (!fake::eventually(moved_on)) return ::testing::AssertionFailure() << "position stuck at " << *position;
    return verdict;
}

// Lets the library's thread go round often enough to have moved a position.
inline void let_the_thread_run() { EXPECT_TRUE(fake::went_round(audio::playback_rounds, 50)); }

}  // namespace recorded
