// Writes what the sound library feeds an output device for one Ogg Vorbis
// file at a device rate: interleaved 16-bit stereo, raw. The web page's
// browser test compares the samples the page played with these.
// Usage: audio_feed_pcm FILE.ogg RATE SECONDS OUT.raw
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "audio/stereo_feeder.h"
#include "audio/vorbis_stream.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: audio_feed_pcm FILE.ogg RATE SECONDS OUT.raw\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    audio::VorbisStream stream;
    if (!stream.open(file.data(), file.size())) {
        std::fprintf(stderr, "audio_feed_pcm: %s holds no Vorbis stream\n", argv[1]);
        return 1;
    }
    int rate = std::atoi(argv[2]);
    long frames = static_cast<long>(std::atof(argv[3]) * rate);
    audio::StereoFeeder feeder;
    feeder.attach(&stream, rate);
    std::vector<std::int32_t> mix(2 * static_cast<std::size_t>(frames), 0);
    feeder.produce(mix.data(), static_cast<int>(frames));
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<std::int16_t>(mix[i] > 32767 ? 32767 : mix[i] < -32768 ? -32768 : mix[i]);
    std::ofstream(argv[4], std::ios::binary).write(reinterpret_cast<const char*>(out.data()), 2 * out.size());
    return 0;
}
