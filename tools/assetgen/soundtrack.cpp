#include "soundtrack.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "effects.h"
#include "file_out.h"
#include "score.h"
#include "tasks.h"

namespace {

constexpr double target_lufs = -14.0;
constexpr double ceiling_dbfs = -2.0;  // room for the encoder's overshoot below −1 dBTP

// Ducks the bass and the pads after every kick, so the beat breathes.
std::vector<float> side_chain(const std::vector<double>& kicks, std::size_t length, double depth) {
    std::vector<float> gain(length, 1.0f);
    for (double beat : kicks) {
        std::size_t at = beat_sample(beat);
        for (std::size_t i = 0; i < static_cast<std::size_t>(0.35 * sample_rate) && at + i < length; ++i) {
            double t = static_cast<double>(i) / sample_rate;
            double duck = depth * std::exp(-t / 0.09) * std::min(1.0, t / 0.004 + 0.3);
            gain[at + i] = std::min(gain[at + i], static_cast<float>(1.0 - duck));
        }
    }
    return gain;
}

// Fades the whole mix out over the outro.
std::vector<float> outro_fade(std::size_t length) {
    std::vector<float> gain(length, 1.0f);
    std::size_t from = beat_sample(340), to = beat_sample(music_beats);
    for (std::size_t i = from; i < length; ++i) {
        double u = std::min(1.0, static_cast<double>(i - from) / (to - from));
        gain[i] = static_cast<float>(std::pow(1.0 - u, 1.6));
    }
    return gain;
}

Bus mix_down(Stems& s) {
    std::size_t length = s.drums.size();
    std::vector<float> duck = side_chain(s.kicks, length, 0.6);
    apply_gain(s.bass, duck);
    apply_gain(s.pads, duck);
    apply_gain(s.arp, side_chain(s.kicks, length, 0.35));

    Bus mix(length);
    mix_into(mix, s.drums, 1.0);
    mix_into(mix, s.ambience, 0.8);
    mix_into(mix, s.bass, 1.0);
    mix_into(mix, s.pads, 0.8);
    mix_into(mix, s.arp, 0.7);
    mix_into(mix, s.lead, 0.8);

    double beat_seconds = 60.0 / beats_per_minute;
    Bus echo_send(length);
    mix_into(echo_send, s.arp, 0.5);
    mix_into(echo_send, s.lead, 0.6);
    mix_into(mix, ping_pong(echo_send, beat_seconds * 0.75, 0.45, 3500.0), 0.5);

    Bus room_send(length);
    mix_into(room_send, s.pads, 0.6);
    mix_into(room_send, s.lead, 0.5);
    mix_into(room_send, s.ambience, 0.8);
    mix_into(room_send, s.arp, 0.3);
    mix_into(mix, reverb(room_send, 0.86, 0.3), 0.8);
    apply_gain(mix, outro_fade(length));
    return mix;
}

void master(Bus& mix) {
    double ceiling = std::pow(10.0, ceiling_dbfs / 20.0);
    // Level to the target, limit, then correct for what the limiter took.
    for (int pass = 0; pass < 3; ++pass) {
        double loudness = integrated_loudness(mix);
        double gain = std::pow(10.0, (target_lufs - loudness) / 20.0);
        for (std::size_t i = 0; i < mix.size(); ++i) {
            mix.left[i] = static_cast<float>(mix.left[i] * gain);
            mix.right[i] = static_cast<float>(mix.right[i] * gain);
        }
        limit_peaks(mix, ceiling);
    }
}

bool append_pages(ogg_stream_state& stream, std::vector<std::uint8_t>& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
        if (ogg_page_eos(&page)) break;
    }
    return true;
}

// Ogg Vorbis, 44.1 kHz stereo, quality 5, with a fixed stream serial number
// so the file is the same on every run.
std::vector<std::uint8_t> encode(const Bus& mix) {
    vorbis_info info;
    vorbis_info_init(&info);
    std::vector<std::uint8_t> out;
    if (vorbis_encode_init_vbr(&info, 2, sample_rate, 0.5f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "quorvane 28 juli");
    vorbis_comment_add_tag(&comment, "ARTIST", "heden");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x48454445);
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    append_pages(stream, out, true);

    const std::size_t chunk = 4096;
    for (std::size_t at = 0;; at += chunk) {
        std::size_t n = at < mix.size() ? std::min(chunk, mix.size() - at) : 0;
        if (n) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            std::memcpy(buffer[0], &mix.left[at], n * sizeof(float));
            std::memcpy(buffer[1], &mix.right[at], n * sizeof(float));
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                append_pages(stream, out, false);
            }
        }
        if (!n) break;
    }
    append_pages(stream, out, true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace

Stems synthesize_stems(int workers) {
    std::size_t length = beat_sample(music_beats) + static_cast<std::size_t>(tail_seconds * sample_rate);
    Stems stems(0);
    std::vector<Task> tasks;
    for (int k = 0; k < Stems::count; ++k)
        tasks.push_back([&stems, length, k] {
            Stems part = Stems::only(length, k);
            compose(part);
            stems.stem(k) = std::move(part.stem(k));
            if (k == 0) stems.kicks = std::move(part.kicks);
            return true;
        });
    run_tasks(tasks, workers);
    return stems;
}

bool write_soundtrack(const std::string& path, Stems& stems) {
    auto start = std::chrono::steady_clock::now();
    Bus mix = mix_down(stems);
    master(mix);
    double mastered = seconds_since(start);
    std::vector<std::uint8_t> bytes = encode(mix);
    std::printf("assetgen: soundtrack mix and master %.2f s, encoding %.2f s\n", mastered, seconds_since(start) - mastered);
    if (bytes.empty()) {
        std::fprintf(stderr, "assetgen: the Vorbis encoder refused its settings\n");
        return false;
    }
    return write_bytes(path, bytes);
}
