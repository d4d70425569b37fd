#include "audio/frame_ring.h"

#include <algorithm>

namespace audio {

FrameRing::FrameRing(int capacity_frames)
    : samples_(2 * static_cast<std::size_t>(std::max(1, capacity_frames))), capacity_(std::max(1, capacity_frames)) {}

int FrameRing::write(const std::int16_t* frames, int count) {
    int n = std::max(0, std::min(count, room()));
    int at = (read_ + filled_) % capacity_;
    for (int i = 0; i < n; ++i, at = (at + 1) % capacity_) {
        samples_[2 * at] = frames[2 * i];
        samples_[2 * at + 1] = frames[2 * i + 1];
    }
    filled_ += n;
    return n;
}

int FrameRing::take(std::int16_t* out, int count) {
    count = std::max(0, count);
    int n = std::min(count, filled_);
    for (int i = 0; i < n; ++i, read_ = (read_ + 1) % capacity_) {
        out[2 * i] = samples_[2 * read_];
        out[2 * i + 1] = samples_[2 * read_ + 1];
    }
    std::fill(out + 2 * n, out + 2 * count, std::int16_t{0});
    filled_ -= n;
    starved_ += count - n;
    return n;
}

void FrameRing::clear() {
    read_ = filled_ = 0;
}

}  // namespace audio
