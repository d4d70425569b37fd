// An Ogg Vorbis stream decoded from memory, scanned whole when it is opened
// so that its length is exact and every frame can be reached directly.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/ogg.h"
#include "audio/vorbis_decoder.h"
#include "audio/vorbis_setup.h"

namespace audio {

class VorbisStream {
public:
    // Reads the headers and scans every page; false when the bytes hold no
    // playable Vorbis stream. The bytes must outlive the stream.
    bool open(const std::uint8_t* data, std::size_t size);

    int channels() const { return setup_.channels; }
    std::uint32_t rate() const { return setup_.rate; }
    // Frames from the first to the last sample the stream's granule
    // positions allow.
    std::int64_t length() const { return length_; }
    std::int64_t position() const { return position_; }

    // Continues reading at `frame` (clamped to the length), exactly.
    void seek(std::int64_t frame);

    // Interleaved 16-bit frames; fewer than asked only at the end.
    int read(std::int16_t* out, int frames);

private:
    struct PacketEntry {
        std::int32_t page, segment;
        std::int64_t start;  // first decoded frame this packet completes
        std::int32_t frames;
    };

    bool read_headers();
    void prescan();
    bool decode_next();

    const std::uint8_t* data_ = nullptr;
    std::vector<OggPage> pages_;
    VorbisSetup setup_;
    VorbisDecoder decoder_;
    std::unique_ptr<OggPacketReader> reader_;
    std::vector<PacketEntry> index_;
    std::int64_t trim_start_ = 0;  // decoded frames before the stream's first sample
    std::int64_t length_ = 0;
    std::int64_t position_ = 0;
    std::int64_t decoded_ = 0;     // decoded frames up to the end of the pending block
    int pending_frames_ = 0;
    int pending_pos_ = 0;
};

}  // namespace audio
