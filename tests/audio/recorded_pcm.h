// For the output device tests: what a device played, as recorded by ALSA's
// file plugin (raw 16-bit little-endian stereo), how to find known frames in
// it, and the wall clock the device is held to.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace recorded {

using Clock = std::chrono::steady_clock;

inline void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

inline double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

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

}  // namespace recorded
