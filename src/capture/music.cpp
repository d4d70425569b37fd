#include "capture/music.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "capture/file_out.h"

namespace {

void put_le(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put_tag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

std::vector<std::uint8_t> wav_header(std::uint32_t rate, int channels, std::uint32_t data_bytes) {
    std::vector<std::uint8_t> h;
    put_tag(h, "RIFF");
    put_le(h, 36 + data_bytes, 4);
    put_tag(h, "WAVE");
    put_tag(h, "fmt ");
    put_le(h, 16, 4);
    put_le(h, 1, 2);  // PCM
    put_le(h, static_cast<std::uint32_t>(channels), 2);
    put_le(h, rate, 4);
    put_le(h, rate * static_cast<std::uint32_t>(channels) * 2, 4);
    put_le(h, static_cast<std::uint32_t>(channels) * 2, 2);
    put_le(h, 16, 2);
    put_tag(h, "data");
    put_le(h, data_bytes, 4);
    return h;
}

}  // namespace

bool CaptureMusic::open(const void* data, std::uint32_t size) {
    return data && size > 0 && stream_.open(static_cast<const std::uint8_t*>(data), size);
}

double CaptureMusic::length_seconds() const { return static_cast<double>(stream_.length()) / stream_.rate(); }

bool CaptureMusic::write_wav(const std::string& path, std::int64_t first, std::int64_t count) {
    std::uint64_t data_bytes = static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(channels()) * 2;
    if (count < 0 || data_bytes > 0xffffffd0u) {
        capture_message("heden: %lld audio frames do not fit in a WAV file\n", static_cast<long long>(count));
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        capture_message("heden: cannot write `%s`: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    std::vector<std::uint8_t> header = wav_header(rate(), channels(), static_cast<std::uint32_t>(data_bytes));
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
    stream_.seek(first);
    constexpr int block = 4096;
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(block) * static_cast<std::size_t>(channels()));
    for (std::int64_t done = 0; ok && done < count; done += block) {
        int want = count - done < block ? static_cast<int>(count - done) : block;
        int got = first + done < stream_.length() ? stream_.read(pcm.data(), want) : 0;
        std::fill(pcm.begin() + got * channels(), pcm.begin() + want * channels(), std::int16_t{0});
        std::size_t samples = static_cast<std::size_t>(want) * static_cast<std::size_t>(channels());
        ok = std::fwrite(pcm.data(), 2, samples, f) == samples;
    }
    int saved = errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        capture_message("heden: writing `%s` failed: %s\n", path.c_str(), std::strerror(saved));
        std::remove(path.c_str());
    }
    return ok;
}
