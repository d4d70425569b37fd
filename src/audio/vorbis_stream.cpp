#include "audio/vorbis_stream.h"

#include <algorithm>
#include <cstring>

namespace audio {

namespace {

// Rounds to nearest-even like the reference decoder's conversion. Damaged
// data can decode to a sample that is not a number: it plays as silence.
std::int16_t to_pcm16(float sample) {
    if (sample != sample) return 0;
    float scaled = sample * 32768.0f;
    if (scaled >= 32767.0f) return 32767;
    if (scaled <= -32768.0f) return -32768;
    float rounded = (scaled + 12582912.0f) - 12582912.0f;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace

bool VorbisStream::open(const std::uint8_t* data, std::size_t size) {
    data_ = data;
    pages_ = ogg_scan_pages(data, size);
    if (pages_.empty()) return false;
    reader_ = std::make_unique<OggPacketReader>(data_, &pages_);
    if (!read_headers()) return false;
    decoder_.init(&setup_);
    prescan();
    seek(0);
    return true;
}

bool VorbisStream::read_headers() {
    OggPacket packet;
    if (!reader_->next(&packet) || !vorbis_read_identification(packet.data, packet.size, &setup_)) return false;
    if (!reader_->next(&packet) || !vorbis_check_comment(packet.data, packet.size)) return false;
    return reader_->next(&packet) && vorbis_read_setup(packet.data, packet.size, &setup_);
}

// Walks every audio packet once, reading only its mode, to learn where each
// block's frames fall; the granule positions then fix the exact first and
// last frame.
void VorbisStream::prescan() {
    OggPacket packet;
    int previous_n = 0;
    std::int64_t decoded = 0;
    std::int64_t first_granule = -1, first_decoded = 0, last_granule = -1;
    int granule_packets = 0;
    while (reader_->next(&packet)) {
        int block = vorbis_packet_block(setup_, packet.data, packet.size);
        if (block >= 0) {
            int n = setup_.blocksize[block];
            int frames = previous_n ? previous_n / 4 + n / 4 : 0;
            index_.push_back({packet.page, packet.segment, decoded, frames});
            decoded += frames;
            previous_n = n;
        }
        if (packet.granule >= 0) {
            if (granule_packets++ == 0) first_granule = packet.granule, first_decoded = decoded;
            last_granule = packet.granule;
        }
        if (packet.last_in_stream) break;
    }
    std::int64_t end = decoded;
    if (granule_packets == 1) {
        // One granule position for the whole stream: it marks the end.
        end = std::min(decoded, std::max<std::int64_t>(0, last_granule));
    } else if (granule_packets > 1) {
        std::int64_t offset = first_granule - first_decoded;  // granule of decoded frame d is d + offset
        trim_start_ = std::max<std::int64_t>(0, -offset);
        end = std::clamp(last_granule - offset, trim_start_, decoded);
    }
    length_ = end - trim_start_;
}

void VorbisStream::seek(std::int64_t frame) {
    position_ = std::clamp<std::int64_t>(frame, 0, length_);
    pending_frames_ = pending_pos_ = 0;
    decoder_.reset();
    if (index_.empty()) return;
    std::int64_t target = trim_start_ + position_;
    auto after = std::upper_bound(index_.begin(), index_.end(), target,
                                  [](std::int64_t t, const PacketEntry& e) { return t < e.start; });
    std::size_t p = after == index_.begin() ? 0 : static_cast<std::size_t>(after - index_.begin()) - 1;
    // The block before primes the overlap; its own frames are not needed.
    std::size_t primer = p > 0 ? p - 1 : 0;
    reader_->restart(index_[primer].page, index_[primer].segment);
    decoded_ = index_[primer].start;
    if (primer < p) {
        OggPacket packet;
        while (reader_->next(&packet)) {
            if (vorbis_packet_block(setup_, packet.data, packet.size) < 0) continue;
            decoder_.decode(packet.data, packet.size);
            break;
        }
        decoded_ = index_[p].start;
    }
}

bool VorbisStream::decode_next() {
    OggPacket packet;
    while (reader_->next(&packet)) {
        if (vorbis_packet_block(setup_, packet.data, packet.size) < 0) continue;
        int frames = decoder_.decode(packet.data, packet.size);
        decoded_ += frames;
        std::int64_t skip = trim_start_ + position_ - (decoded_ - frames);
        pending_frames_ = frames;
        pending_pos_ = static_cast<int>(std::clamp<std::int64_t>(skip, 0, frames));
        return true;
    }
    return false;
}

int VorbisStream::read(std::int16_t* out, int frames) {
    int done = 0;
    int channels = setup_.channels;
    while (done < frames && position_ < length_) {
        if (pending_pos_ >= pending_frames_) {
            if (!decode_next()) break;
            continue;
        }
        int take = static_cast<int>(std::min<std::int64_t>(
            {static_cast<std::int64_t>(pending_frames_ - pending_pos_), frames - done, length_ - position_}));
        for (int ch = 0; ch < channels; ++ch) {
            const float* src = decoder_.output(ch) + pending_pos_;
            std::int16_t* dst = out + static_cast<std::size_t>(done) * channels + ch;
            for (int i = 0; i < take; ++i) dst[static_cast<std::size_t>(i) * channels] = to_pcm16(src[i]);
        }
        pending_pos_ += take;
        position_ += take;
        done += take;
    }
    return done;
}

}  // namespace audio
