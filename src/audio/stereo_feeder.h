// Turns a stream's frames into stereo at the device's rate: mono is doubled,
// more channels give their front pair, other rates are interpolated linearly.
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

class VorbisStream;

class StereoFeeder {
public:
    void attach(VorbisStream* stream, int device_rate);
    // Call after the stream was positioned: continues from its position.
    void restart();
    // Adds up to `frames` stereo frames into `mix`; silence once the stream
    // has ended.
    void produce(std::int32_t* mix, int frames);
    // The stream frame being produced now (the length once ended).
    std::int64_t position() const { return position_; }

private:
    bool pull(float* frame);
    void advance();

    VorbisStream* stream_ = nullptr;
    double step_ = 1.0, phase_ = 0.0;
    int left_ = 0, right_ = 0;  // source channels of the stereo pair
    bool primed_ = false, ended_ = false, has_next_ = false;
    float current_[2] = {}, next_[2] = {};
    std::int64_t position_ = 0;
    std::vector<std::int16_t> block_;
    int block_frames_ = 0, block_pos_ = 0;
};

}  // namespace audio
