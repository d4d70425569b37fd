// Writes a stretch of an Ogg Vorbis file, decoded by our own decoder, to
// stdout as raw interleaved 16-bit PCM: the reference the capture test
// compares a video's sound with. Usage: soundtrack_pcm FILE.ogg START SECONDS
// (times in seconds, rounded to whole frames of the file's rate); frames
// past the end of the music are silence, as in a capture.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "audio/vorbis_stream.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: soundtrack_pcm FILE.ogg START SECONDS\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> ogg{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    audio::VorbisStream stream;
    if (!stream.open(ogg.data(), ogg.size())) {
        std::fprintf(stderr, "soundtrack_pcm: %s is no Vorbis stream\n", argv[1]);
        return 1;
    }
    long long first = std::llround(std::atof(argv[2]) * stream.rate());
    long long count = std::llround(std::atof(argv[3]) * stream.rate());
    stream.seek(first);
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(count) * stream.channels(), 0);
    long long got = 0;
    while (got < count) {
        int n = stream.read(pcm.data() + got * stream.channels(), static_cast<int>(count - got));
        if (n <= 0) break;
        got += n;
    }
    std::fwrite(pcm.data(), 2, pcm.size(), stdout);
    return 0;
}
