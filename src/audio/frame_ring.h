// A ring of 16-bit stereo frames between the library's thread, which writes
// whole chunks when there is room, and an output that takes what it plays
// whenever it asks (a browser's audio callback). A callback that comes late
// and finds the ring short gets silence for the missing frames; what was
// written is never played twice nor skipped.
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

class FrameRing {
public:
    explicit FrameRing(int capacity_frames);

    int capacity() const { return capacity_; }
    int filled() const { return filled_; }
    int room() const { return capacity_ - filled_; }
    // Frames short in the takes so far (heard as silence).
    long long starved() const { return starved_; }

    // Appends up to room() frames; returns how many were taken.
    int write(const std::int16_t* frames, int count);
    // Fills `out` with `count` frames: the oldest written, then silence.
    // Returns the frames that came from the ring.
    int take(std::int16_t* out, int count);
    void clear();

private:
    std::vector<std::int16_t> samples_;
    int capacity_ = 0, read_ = 0, filled_ = 0;
    long long starved_ = 0;
};

}  // namespace audio
