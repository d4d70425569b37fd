#include "audio/stereo_feeder.h"

#include "audio/vorbis_stream.h"

namespace audio {

namespace {
constexpr int block_capacity = 256;
}

void StereoFeeder::attach(VorbisStream* stream, int device_rate) {
    stream_ = stream;
    step_ = static_cast<double>(stream->rate()) / device_rate;
    int channels = stream->channels();
    // Vorbis orders three, five and six channels left, centre, right, ...
    left_ = 0;
    right_ = channels == 1 ? 0 : (channels == 3 || channels >= 5) ? 2 : 1;
    block_.assign(static_cast<std::size_t>(block_capacity) * channels, 0);
    restart();
}

void StereoFeeder::restart() {
    primed_ = ended_ = has_next_ = false;
    phase_ = 0.0;
    block_frames_ = block_pos_ = 0;
    position_ = stream_->position();
}

bool StereoFeeder::pull(float* frame) {
    if (block_pos_ == block_frames_) {
        block_frames_ = stream_->read(block_.data(), block_capacity);
        block_pos_ = 0;
        if (block_frames_ == 0) return false;
    }
    const std::int16_t* f = &block_[static_cast<std::size_t>(block_pos_++) * stream_->channels()];
    frame[0] = f[left_];
    frame[1] = f[right_];
    return true;
}

void StereoFeeder::advance() {
    ++position_;
    if (!has_next_) {
        ended_ = true;
        return;
    }
    current_[0] = next_[0];
    current_[1] = next_[1];
    has_next_ = pull(next_);
    if (!has_next_) next_[0] = current_[0], next_[1] = current_[1];
}

void StereoFeeder::produce(std::int32_t* mix, int frames) {
    if (!primed_) {
        primed_ = true;
        ended_ = !pull(current_);
        has_next_ = !ended_ && pull(next_);
        if (!has_next_) next_[0] = current_[0], next_[1] = current_[1];
    }
    for (int i = 0; i < frames && !ended_; ++i) {
        float t = static_cast<float>(phase_);
        mix[2 * i] += static_cast<std::int32_t>(current_[0] + (next_[0] - current_[0]) * t);
        mix[2 * i + 1] += static_cast<std::int32_t>(current_[1] + (next_[1] - current_[1]) * t);
        phase_ += step_;
        while (phase_ >= 1.0 && !ended_) {
            phase_ -= 1.0;
            advance();
        }
    }
}

}  // namespace audio
