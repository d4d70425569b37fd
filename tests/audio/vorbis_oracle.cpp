#include "vorbis_oracle.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <random>

namespace oracle {

namespace {

void append_page(std::vector<std::uint8_t>* out, const ogg_page& page) {
    out->insert(out->end(), page.header, page.header + page.header_len);
    out->insert(out->end(), page.body, page.body + page.body_len);
}

void fill(float** buffer, const Encoding& e, long first, long count, std::mt19937* noise) {
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (int ch = 0; ch < e.channels; ++ch) {
        for (long i = 0; i < count; ++i) {
            double t = static_cast<double>(first + i) / e.rate;
            double tone = std::sin(2 * M_PI * (220.0 * (ch + 1)) * t) + 0.5 * std::sin(2 * M_PI * 3520.0 * t + ch);
            double sweep = std::sin(2 * M_PI * (100.0 + 2000.0 * t) * t);
            double burst = (static_cast<long>(t * 8) % 3 == 0) ? uniform(*noise) : 0.0;
            buffer[ch][i] = static_cast<float>(e.level * (0.4 * tone + 0.3 * sweep + 0.3 * burst));
        }
    }
}

struct Memory {
    const std::vector<std::uint8_t>* bytes;
    std::size_t position;
};

std::size_t mem_read(void* ptr, std::size_t size, std::size_t count, void* source) {
    auto* m = static_cast<Memory*>(source);
    std::size_t left = m->bytes->size() - m->position;
    std::size_t n = std::min(left, size * count);
    std::memcpy(ptr, m->bytes->data() + m->position, n);
    m->position += n;
    return size ? n / size : 0;
}

int mem_seek(void* source, ogg_int64_t offset, int whence) {
    auto* m = static_cast<Memory*>(source);
    long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<long long>(m->position)
                                                                  : static_cast<long long>(m->bytes->size());
    long long target = base + offset;
    if (target < 0 || target > static_cast<long long>(m->bytes->size())) return -1;
    m->position = static_cast<std::size_t>(target);
    return 0;
}

long mem_tell(void* source) { return static_cast<long>(static_cast<Memory*>(source)->position); }

bool open(const std::vector<std::uint8_t>& file, Memory* memory, OggVorbis_File* vf) {
    ov_callbacks callbacks{mem_read, mem_seek, nullptr, mem_tell};
    return ov_open_callbacks(memory, vf, nullptr, 0, callbacks) == 0;
}

// True when the reading stopped at the end of the stream, not on an error.
bool read_frames(OggVorbis_File* vf, std::vector<std::int16_t>* out, long long max_frames) {
    int channels = ov_info(vf, -1)->channels;
    char buffer[8192];
    int section = 0;
    while (max_frames < 0 || static_cast<long long>(out->size()) < max_frames * channels) {
        long got = ov_read(vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (got < 0) return false;
        if (got == 0) break;
        const auto* samples = reinterpret_cast<const std::int16_t*>(buffer);
        out->insert(out->end(), samples, samples + got / 2);
    }
    if (max_frames >= 0 && static_cast<long long>(out->size()) > max_frames * channels)
        out->resize(static_cast<std::size_t>(max_frames * channels));
    return true;
}

}  // namespace

std::vector<std::uint8_t> encode(const Encoding& e) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    int status = e.managed_kbps > 0
                     ? vorbis_encode_init(&vi, e.channels, e.rate, e.managed_kbps * 1250, e.managed_kbps * 1000,
                                          e.managed_kbps * 750)
                     : vorbis_encode_init_vbr(&vi, e.channels, e.rate, e.quality);
    std::vector<std::uint8_t> out;
    if (status != 0) return out;
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, static_cast<int>(e.seed));
    ogg_packet header, comment, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) append_page(&out, page);
    std::mt19937 noise(e.seed);
    long written = 0;
    bool eos = false;
    while (!eos) {
        long chunk = std::min(1024L, e.frames - written);
        if (chunk > 0) {
            fill(vorbis_analysis_buffer(&vd, static_cast<int>(chunk)), e, written, chunk, &noise);
            written += chunk;
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) append_page(&out, page);
                if (packet.e_o_s) eos = true;
            }
        }
    }
    while (ogg_stream_flush(&os, &page)) append_page(&out, page);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

Decoded decode(const std::vector<std::uint8_t>& file) {
    Decoded d;
    Memory memory{&file, 0};
    OggVorbis_File vf;
    if (!open(file, &memory, &vf)) return d;
    d.ok = true;
    d.total = ov_pcm_total(&vf, -1);
    d.channels = ov_info(&vf, -1)->channels;
    bool to_the_end = read_frames(&vf, &d.pcm, -1);
    // A damaged stream's granule position can be near the top of its range,
    // so the frame count is compared without multiplying it.
    long long samples = static_cast<long long>(d.pcm.size());
    d.clean = to_the_end && ov_streams(&vf) == 1 && d.total >= 0 &&
              samples % d.channels == 0 && samples / d.channels == d.total;
    ov_clear(&vf);
    return d;
}

std::vector<std::int16_t> read_at(const std::vector<std::uint8_t>& file, long long position, int frames) {
    std::vector<std::int16_t> out;
    Memory memory{&file, 0};
    OggVorbis_File vf;
    if (!open(file, &memory, &vf)) return out;
    if (ov_pcm_seek(&vf, position) == 0) read_frames(&vf, &out, frames);
    ov_clear(&vf);
    return out;
}

}  // namespace oracle

// libvorbisenc's multichannel setup leaks a few bytes of its own (seen with
// six channels), and so does libvorbisfile on some damaged streams the fuzz
// target hands it; those are the reference libraries', not ours, so the leak
// checker is told to look away from them alone.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:vorbis_encode_setup_init\nleak:libvorbisfile.so\n";
}
