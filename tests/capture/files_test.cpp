// The files a capture writes itself: PNG stills (read back with libpng) and
// the soundtrack stretch as WAV (against our decoder reading the stream).
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "audio/vorbis_stream.h"
#include "capture/file_out.h"
#include "capture/music.h"
#include "capture/png_write.h"
#include "temp_dir.h"
#include "vorbis_oracle.h"

namespace {

std::vector<std::uint8_t> pattern(int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7 + i / 613);
    return rgb;
}

std::vector<std::uint8_t> bytes_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

// libpng's reading of the file, as RGB rows.
std::vector<std::uint8_t> libpng_read(const std::vector<std::uint8_t>& file, int* width, int* height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return rgb;
}

TEST(PngWrite, LibpngReadsBackEveryPixel) {
    fake::TempDir dir;
    // 300 x 100 needs two stored blocks; 1 x 1 is the smallest picture.
    for (auto [w, h] : {std::pair{300, 100}, std::pair{1, 1}, std::pair{7, 3}}) {
        std::vector<std::uint8_t> rgb = pattern(w, h);
        ASSERT_TRUE(png_write_rgb("still.png", w, h, rgb));
        EXPECT_FALSE(exists(file_part_name("still.png")));
        int rw = 0, rh = 0;
        std::vector<std::uint8_t> back = libpng_read(bytes_of("still.png"), &rw, &rh);
        EXPECT_EQ(rw, w);
        EXPECT_EQ(rh, h);
        EXPECT_EQ(back, rgb) << w << "x" << h;
    }
}

TEST(PngWrite, NothingWrittenForAShortBufferOrAnUnwritablePath) {
    fake::TempDir dir;
    EXPECT_TRUE(png_encode_rgb(4, 4, pattern(4, 3).data(), 4 * 3 * 3).empty());
    EXPECT_TRUE(png_encode_rgb(0, 4, nullptr, 0).empty());
    EXPECT_FALSE(png_write_rgb("short.png", 4, 4, pattern(4, 3)));
    EXPECT_FALSE(exists("short.png"));
    EXPECT_FALSE(png_write_rgb("no/such/dir/x.png", 2, 2, pattern(2, 2)));
    EXPECT_FALSE(exists(file_part_name("no/such/dir/x.png")));
}

TEST(MusicWav, TheStretchIsTheDecodedStreamThenSilence) {
    fake::TempDir dir;
    oracle::Encoding e;
    e.frames = 22050;
    e.quality = 0.1f;
    std::vector<std::uint8_t> ogg = oracle::encode(e);
    CaptureMusic music;
    ASSERT_TRUE(music.open(ogg.data(), static_cast<std::uint32_t>(ogg.size())));
    EXPECT_DOUBLE_EQ(music.length_seconds(), 0.5);
    // From 0.4 s, 0.2 s: the last 0.1 s of the music, then 0.1 s of silence.
    ASSERT_TRUE(music.write_wav("a.wav", 17640, 8820));
    std::vector<std::uint8_t> wav = bytes_of("a.wav");
    ASSERT_EQ(wav.size(), 44u + 8820 * 4);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    audio::VorbisStream reference;
    ASSERT_TRUE(reference.open(ogg.data(), ogg.size()));
    reference.seek(17640);
    std::vector<std::int16_t> expected(8820 * 2, 0);
    ASSERT_EQ(reference.read(expected.data(), 8820), 4410);
    std::vector<std::int16_t> samples(8820 * 2);
    std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
    EXPECT_EQ(samples, expected);
    EXPECT_FALSE(music.write_wav("no/such/dir/a.wav", 0, 10));
}

TEST(MusicWav, BytesThatAreNoMusicAreRefused) {
    CaptureMusic music;
    const char junk[] = "OggS but not really";
    EXPECT_FALSE(music.open(junk, sizeof junk));
    EXPECT_FALSE(music.open(nullptr, 0));
}

}  // namespace
