// Run by hand: decode time of our decoder against libvorbisfile for a
// 150-second stereo file at quality 5. Not part of the test command.
#include <chrono>
#include <cstdio>
#include <vector>

#include "audio/vorbis_stream.h"
#include "vorbis_oracle.h"

namespace {

template <typename F>
double best_of_three(F run) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main() {
    oracle::Encoding e;
    e.channels = 2;
    e.rate = 44100;
    e.quality = 0.5f;
    e.frames = 150L * 44100;
    std::vector<std::uint8_t> file = oracle::encode(e);
    std::printf("file: %zu bytes, %ld frames\n", file.size(), e.frames);
    double reference = best_of_three([&] { oracle::decode(file); });
    std::vector<std::int16_t> pcm(4096 * 2);
    long long frames = 0;
    double ours = best_of_three([&] {
        audio::VorbisStream stream;
        stream.open(file.data(), file.size());
        frames = 0;
        while (int got = stream.read(pcm.data(), 4096)) frames += got;
    });
    std::printf("libvorbisfile: %.3f s\nours:          %.3f s (%lld frames)\nratio:         %.2f\n", reference, ours,
                frames, ours / reference);
    std::printf("decoding share of one core during playback: %.2f%%\n", 100.0 * ours / 150.0);
    return 0;
}
