// Ogg Vorbis streams of arbitrary bytes through the Ogg page reader and our
// decoder as a memory stream plays them: open, length, decode to the end and
// a few seeks. Whenever libvorbisfile reads the same bytes cleanly, both
// must agree: the same length and every sample within one step. A stream
// without a single audio frame is left out: libvorbisfile builds its decoder
// only for the first audio packet, so it takes broken setup headers there
// that we refuse when the stream is opened.
//
// The first input byte chooses whether page checksums are made right before
// decoding, so that damage reaches the decoder and not only the page reader.
#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/vorbis_stream.h"
#include "vorbis_oracle.h"

namespace {

// Bounds a fuzzed stream's decode work; the test streams are far shorter.
constexpr std::int64_t max_frames = 1 << 20;
constexpr int chunk = 4096;

[[noreturn]] void disagree(const char* what, long long ours, long long theirs) {
    std::fprintf(stderr, "fuzz_vorbis: %s: ours %lld, libvorbisfile %lld\n", what, ours, theirs);
    std::abort();
}

// Both decoders work in single precision. A damaged stream can carry spectra
// far above full scale that cancel in the overlap; there the rounding of
// either decoder decides the samples (regressions/vorbis/float_precision and
// float_cancellation: decoded in double precision, one sample lies between
// 15749 and 15750 where we give 15751 and libvorbisfile 15749, another
// between -8347 and -8346 where libvorbisfile gives -8348, and where we give
// -32768 and libvorbisfile -351 the double decode gives +32767). Such streams
// drive the output to full scale, so a stream that reaches it in either
// decode is compared by length only; every other stream sample by sample.
bool reaches_full_scale(const std::vector<std::int16_t>& pcm) {
    return std::any_of(pcm.begin(), pcm.end(), [](std::int16_t v) { return v == 32767 || v == -32768; });
}

// Calls `visit` with every whole page from the start of the bytes.
template <typename Visit>
void for_each_page(std::vector<std::uint8_t>* bytes, Visit visit) {
    std::size_t offset = 0;
    while (offset + 27 <= bytes->size()) {
        std::uint8_t* p = bytes->data() + offset;
        std::size_t header = 27 + p[26], body = 0;
        if (offset + header > bytes->size()) return;
        for (int i = 0; i < p[26]; ++i) body += p[27 + i];
        if (offset + header + body > bytes->size()) return;
        ogg_page page{p, static_cast<long>(header), p + header, static_cast<long>(body)};
        visit(page);
        offset += header + body;
    }
}

void fix_checksums(std::vector<std::uint8_t>* bytes) {
    for_each_page(bytes, [](ogg_page& page) { ogg_page_checksum_set(&page); });
}

// The pages as libogg finds them (garbage between them skipped) and the
// block sizes libvorbis gives their packets.
class PageWalk {
public:
    explicit PageWalk(const std::vector<std::uint8_t>& bytes) {
        ogg_sync_init(&sync_);
        char* buffer = ogg_sync_buffer(&sync_, static_cast<long>(bytes.size()));
        if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
        ogg_sync_wrote(&sync_, static_cast<long>(bytes.size()));
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
    }
    ~PageWalk() {
        if (started_) ogg_stream_clear(&stream_);
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
        ogg_sync_clear(&sync_);
    }
    PageWalk(const PageWalk&) = delete;
    PageWalk& operator=(const PageWalk&) = delete;

    // The next page of the first logical stream; false at the end.
    bool next(ogg_page* page) {
        int got;
        while ((got = ogg_sync_pageout(&sync_, page)) != 0) {
            if (got < 0) continue;
            if (!started_) {
                ogg_stream_init(&stream_, ogg_page_serialno(page));
                started_ = true;
            }
            if (ogg_page_serialno(page) != stream_.serialno) {
                other_streams_ = true;
                continue;
            }
            ogg_stream_pagein(&stream_, page);
            count_packets();
            return true;
        }
        return false;
    }
    // Frames the audio packets so far complete, as libvorbis counts them.
    std::int64_t completed() const { return completed_; }
    bool audio_seen() const { return last_block_ > 0; }
    bool other_streams() const { return other_streams_; }

private:
    void count_packets() {
        ogg_packet packet;
        int got;
        while ((got = ogg_stream_packetout(&stream_, &packet)) != 0) {
            if (got < 0) continue;
            if (headers_ < 3) {
                if (vorbis_synthesis_headerin(&info_, &comment_, &packet) == 0) ++headers_;
                continue;
            }
            long block = vorbis_packet_blocksize(&info_, &packet);
            if (block <= 0) continue;  // libvorbis skips what it cannot read
            if (last_block_ > 0) completed_ += last_block_ / 4 + block / 4;
            last_block_ = block;
        }
    }

    ogg_sync_state sync_;
    ogg_stream_state stream_;
    vorbis_info info_;
    vorbis_comment comment_;
    bool started_ = false, other_streams_ = false;
    int headers_ = 0;
    long last_block_ = 0;
    std::int64_t completed_ = 0;
};

// Streams whose framing the two decoders read differently, left out of the
// comparison:
// * granule positions going back, or an end-of-stream mark missing from the
//   last page or found before it: for a short final block without the mark
//   libvorbis drops frames from the start of the block where we drop them
//   from the end, as the granule position says;
// * a first audio page (not also the last) whose granule position is below
//   the frames its packets complete: the format drops the difference from the
//   start of the stream, as we do; libvorbisfile drops it from the start of
//   the page's last block, its samples before that already handed out.
bool regular_framing(const std::vector<std::uint8_t>& bytes) {
    PageWalk walk(bytes);
    bool regular = true, ended = false, first_audio_page = true;
    std::int64_t last = -1;
    ogg_page page;
    while (walk.next(&page)) {
        std::int64_t granule = ogg_page_granulepos(&page);
        if (ended || (granule >= 0 && granule < last)) regular = false;
        if (granule >= 0) last = granule;
        ended = ogg_page_eos(&page) != 0;
        if (first_audio_page && granule >= 0 && walk.audio_seen()) {
            if (granule < walk.completed() && !ended) regular = false;
            first_audio_page = false;
        }
    }
    return regular && ended && !walk.other_streams();
}

std::vector<std::int16_t> decode_all(audio::VorbisStream& stream) {
    std::vector<std::int16_t> pcm;
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(chunk) * stream.channels());
    while (int got = stream.read(buffer.data(), chunk)) {
        if (got < 0 || got > chunk) std::abort();
        pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + static_cast<long>(got) * stream.channels());
    }
    return pcm;
}

// After a seek, reading goes on with exactly the samples a straight decode
// has at that frame.
void check_seek(audio::VorbisStream& stream, const std::vector<std::int16_t>& pcm, std::int64_t position) {
    const std::int64_t length = stream.length();
    const int channels = stream.channels();
    stream.seek(position);
    std::int64_t from = std::clamp<std::int64_t>(position, 0, length);
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(chunk) * channels);
    int got = stream.read(buffer.data(), chunk);
    if (got != std::min<std::int64_t>(chunk, length - from)) std::abort();
    if (!std::equal(buffer.begin(), buffer.begin() + static_cast<long>(got) * channels, pcm.begin() + from * channels))
        std::abort();
}

void check_against_vorbisfile(const std::vector<std::uint8_t>& bytes, const audio::VorbisStream* ours,
                              const std::vector<std::int16_t>& pcm) {
    if (!regular_framing(bytes)) return;
    oracle::Decoded reference = oracle::decode(bytes);
    if (!reference.clean || reference.total == 0) return;
    if (!ours) disagree("refused a stream it reads, length", -1, reference.total);
    if (ours->channels() != reference.channels) disagree("channels", ours->channels(), reference.channels);
    if (ours->length() != reference.total) disagree("length", ours->length(), reference.total);
    if (reaches_full_scale(pcm) || reaches_full_scale(reference.pcm)) return;
    for (std::size_t i = 0; i < pcm.size(); ++i)
        if (std::abs(pcm[i] - reference.pcm[i]) > 1)
            disagree(("sample " + std::to_string(i) + " of " + std::to_string(pcm.size())).c_str(), pcm[i],
                     reference.pcm[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    if (data[0] & 1) fix_checksums(&bytes);
    audio::VorbisStream stream;
    bool opened = stream.open(bytes.data(), bytes.size());
    if (opened && (stream.length() < 0 || stream.channels() < 1 || stream.rate() == 0)) std::abort();
    if (opened && stream.length() > max_frames) return 0;
    std::vector<std::int16_t> pcm;
    if (opened) {
        pcm = decode_all(stream);
        if (static_cast<std::int64_t>(pcm.size()) != stream.length() * stream.channels()) std::abort();
        const std::int64_t length = stream.length();
        for (std::int64_t position : {length / 3, std::int64_t{0}, length - 5, length + 10, length / 2})
            check_seek(stream, pcm, position);
    }
    check_against_vorbisfile(bytes, opened ? &stream : nullptr, pcm);
    return 0;
}

