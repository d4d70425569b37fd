// The reference Vorbis library, used to make test files and to check our
// decoder against: libvorbisenc encodes, libvorbisfile decodes.
#pragma once

#include <cstdint>
#include <vector>

namespace oracle {

struct Encoding {
    int channels = 2;
    long rate = 44100;
    float quality = 0.5f;     // -0.1 .. 1.0
    long managed_kbps = 0;    // > 0: managed bitrate around this nominal rate
    long frames = 44100;
    float level = 0.5f;       // 0: digital silence
    unsigned seed = 1;
};

// A test signal (tones, a sweep and noise, different per channel) encoded
// to Ogg Vorbis.
std::vector<std::uint8_t> encode(const Encoding& e);

struct Decoded {
    bool ok = false;
    // One logical stream, read to its end without a hole or an error, and
    // exactly as long as its total says.
    bool clean = false;
    int channels = 0;
    long long total = -1;        // ov_pcm_total
    std::vector<std::int16_t> pcm;  // ov_read, interleaved
};

Decoded decode(const std::vector<std::uint8_t>& file);

// `frames` frames read after ov_pcm_seek to `position`.
std::vector<std::int16_t> read_at(const std::vector<std::uint8_t>& file, long long position, int frames);

}  // namespace oracle
