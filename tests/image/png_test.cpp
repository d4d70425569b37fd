// The PNG decoder against libpng on a corpus libpng writes, and damaged files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/file_table.h"
#include "fake_platform.h"
#include "image/inflate.h"
#include "image/png.h"
#include "png_corpus.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_image::PngPicture;

constexpr std::uint32_t four_mib = 4u << 20;

struct Decoded {
    unsigned error;
    PngInfo info;
    Bytes rgba;
};

Decoded decode(const std::string& file, std::uint32_t limit = four_mib) {
    Decoded result{};
    PngBuffer rgba{nullptr, 0};
    result.error = png_decode(reinterpret_cast<const std::uint8_t*>(file.data()), static_cast<std::int32_t>(file.size()),
                              &result.info, &rgba, limit);
    if (rgba.data) result.rgba.assign(rgba.data, rgba.data + rgba.size);
    png_buffer_free(&rgba);
    return result;
}

void expect_same_as_libpng(const PngPicture& picture) {
    SCOPED_TRACE(testing::Message() << "type " << picture.colour_type << " depth " << picture.bit_depth << " "
                                    << picture.width << "x" << picture.height << (picture.interlaced ? " interlaced" : "")
                                    << " palette " << picture.palette.size() << " alphas " << picture.palette_alpha.size()
                                    << (picture.keyed ? " keyed" : "") << " filters " << picture.filters);
    std::string file = test_image::png_encode(picture);
    ASSERT_FALSE(file.empty());
    Bytes expected;
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(test_image::png_reference(file, expected, width, height));
    Decoded ours = decode(file);
    ASSERT_EQ(ours.error, 0u);
    EXPECT_EQ(png_error, 0u);
    EXPECT_EQ(ours.info.width, width);
    EXPECT_EQ(ours.info.height, height);
    ASSERT_EQ(ours.rgba.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (ours.rgba[i] != expected[i]) {
            ADD_FAILURE() << "pixel " << i / 4 << " channel " << i % 4 << ": " << int(ours.rgba[i]) << " != " << int(expected[i]);
            return;
        }
}

struct Format {
    int colour_type, bit_depth;
};

const Format formats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

TEST(PngOracle, EveryColourTypeDepthSizeAndInterlaceMatchesLibpng) {
    const std::uint32_t sizes[][2] = {{1, 1}, {10, 1}, {1, 10}, {33, 17}, {8, 8}, {61, 45}};
    const int filters[] = {test_image::png_filter_none, test_image::png_filter_sub, test_image::png_filter_up,
                           test_image::png_filter_average, test_image::png_filter_paeth, test_image::png_filter_all};
    const std::size_t idat_sizes[] = {8192, 16, 100};
    unsigned n = 0;
    for (const Format& format : formats)
        for (bool interlaced : {false, true})
            for (const auto& size : sizes) {
                ++n;
                int palette = format.colour_type == 3 ? 1 + static_cast<int>(n * 37 % (1u << format.bit_depth)) : 0;
                PngPicture picture = test_image::png_random(size[0], size[1], format.colour_type, format.bit_depth, interlaced,
                                                      n, n % 2 == 0, palette);
                if (n % 3 != 0 && format.colour_type != 4 && format.colour_type != 6)
                    test_image::png_add_transparency(picture, n, static_cast<std::size_t>(palette) * (n % 5) / 4);
                picture.with_background = n % 4 == 1;
                picture.background = {1, 2, 3, 0};
                picture.with_private_chunk = n % 5 == 2;
                picture.filters = filters[n % 6];
                picture.level = static_cast<int>(n % 10);
                picture.idat_size = idat_sizes[n % 3];
                expect_same_as_libpng(picture);
            }
}

TEST(PngOracle, EachFilterTypeOnEveryFormat) {
    const int filters[] = {test_image::png_filter_none, test_image::png_filter_sub, test_image::png_filter_up,
                           test_image::png_filter_average, test_image::png_filter_paeth};
    unsigned seed = 1000;
    for (const Format& format : formats)
        for (bool interlaced : {false, true})
            for (int filter : filters) {
                int palette = format.colour_type == 3 ? 1 << format.bit_depth : 0;
                PngPicture picture = test_image::png_random(37, 23, format.colour_type, format.bit_depth, interlaced, ++seed,
                                                      false, palette);
                picture.filters = filter;
                expect_same_as_libpng(picture);
            }
}

TEST(PngOracle, PalettesOfEverySizeWithTransparency) {
    for (int size = 1; size <= 256; ++size) {
        PngPicture picture = test_image::png_random(17, 3, test_image::png_palette, 8, size % 2 == 0, size, false, size);
        test_image::png_add_transparency(picture, size, static_cast<std::size_t>(size * (size % 3) / 2));
        expect_same_as_libpng(picture);
    }
}

TEST(PngOracle, SixteenBitKeysCompareWholeSamples) {
    for (int colour_type : {test_image::png_grey, test_image::png_rgb}) {
        // Few distinct colours, so the key hits many pixels; neighbours that
        // share the key's high byte but not its low byte must stay opaque.
        PngPicture picture = test_image::png_random(40, 30, colour_type, 16, false, 5, true);
        test_image::png_add_transparency(picture, 5);
        expect_same_as_libpng(picture);
        picture.rows[1] ^= 1;  // first pixel's low byte now differs from the key
        expect_same_as_libpng(picture);
    }
}

// ---------------------------------------------------------------- hand-made files

std::string be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string chunk(const std::string& type, const std::string& data) {
    std::string body = type + data;
    auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return be32(static_cast<std::uint32_t>(data.size())) + body + be32(static_cast<std::uint32_t>(crc));
}

std::string header(std::uint32_t width, std::uint32_t height, int depth, int colour_type, int interlace = 0,
                   int compression = 0, int filter = 0) {
    std::string fields = be32(width) + be32(height);
    for (int v : {depth, colour_type, compression, filter, interlace}) fields += static_cast<char>(v);
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", fields);
}

std::string zlib(const std::string& scanlines) {
    uLongf size = compressBound(static_cast<uLong>(scanlines.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(scanlines.data()),
             static_cast<uLong>(scanlines.size()));
    out.resize(size);
    return out;
}

const std::string iend = chunk("IEND", "");

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// A 2 x 2 RGB image, rows filtered with `filter`.
std::string rgb_2x2(int filter = 0) {
    std::string scanlines = bytes({filter, 1, 2, 3, 4, 5, 6, 0, 10, 20, 30, 40, 50, 60});
    return header(2, 2, 8, 2) + chunk("IDAT", zlib(scanlines)) + iend;
}

TEST(PngFiles, SamplesComeOutTopRowFirst) {
    Decoded d = decode(rgb_2x2());
    ASSERT_EQ(d.error, 0u);
    EXPECT_EQ(d.rgba, (Bytes{1, 2, 3, 255, 4, 5, 6, 255, 10, 20, 30, 255, 40, 50, 60, 255}));
    EXPECT_EQ(d.info.bits_per_pixel, 24);
    EXPECT_EQ(d.info.channels, 3);
}

TEST(PngFiles, SixteenBitSamplesKeepTheirHighByte) {
    std::string file = header(1, 1, 16, 2) + chunk("IDAT", zlib(bytes({0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}))) + iend;
    EXPECT_EQ(decode(file).rgba, (Bytes{0x12, 0x56, 0x9A, 255}));
}

TEST(PngFiles, PaletteTransparencyAndIndices) {
    std::string palette = chunk("PLTE", bytes({10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42}));
    std::string alphas = chunk("tRNS", bytes({0, 100, 200}));
    std::string ok = header(4, 1, 8, 3) + palette + alphas + chunk("IDAT", zlib(bytes({0, 0, 1, 2, 3}))) + iend;
    EXPECT_EQ(decode(ok).rgba, (Bytes{10, 11, 12, 0, 20, 21, 22, 100, 30, 31, 32, 200, 40, 41, 42, 255}));
    std::string beyond = header(4, 1, 8, 3) + palette + chunk("IDAT", zlib(bytes({0, 0, 1, 2, 4}))) + iend;
    EXPECT_EQ(decode(beyond).error, 46u);
    std::string beyond_low = header(4, 1, 4, 3) + palette + chunk("IDAT", zlib(bytes({0, 0x01, 0x24}))) + iend;
    EXPECT_EQ(decode(beyond_low).error, 47u);
    std::string no_palette = header(1, 1, 8, 3) + chunk("IDAT", zlib(bytes({0, 0}))) + iend;
    EXPECT_EQ(decode(no_palette).error, 46u);
}

TEST(PngFiles, OneBitGreyRowsAreNotByteAligned) {
    // Width 10: each row is two bytes in the file but ten bits in the image.
    std::string file = header(10, 2, 1, 0) + chunk("IDAT", zlib(bytes({0, 0xA5, 0x40, 0, 0x00, 0xC0}))) + iend;
    Decoded d = decode(file);
    ASSERT_EQ(d.error, 0u);
    const int expected[20] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(d.rgba[4 * i], expected[i] ? 255 : 0) << i;
}

TEST(PngFiles, UnknownChunksAndBadChecksumsAreTolerated) {
    std::string file = rgb_2x2();
    Bytes plain = decode(file).rgba;
    std::string with_critical = file;
    with_critical.insert(33, chunk("QUUX", "whatever"));
    EXPECT_EQ(decode(with_critical).rgba, plain);
    std::string bad_crc = file;
    bad_crc[bad_crc.size() - 1] ^= 0x55;       // IEND's CRC
    bad_crc[33 + 8 + 4] ^= 0;                  // keep IDAT intact
    bad_crc[29] ^= 0x55;                       // IHDR's CRC
    EXPECT_EQ(decode(bad_crc).rgba, plain);
}

TEST(PngFiles, ImageDataMaySpanChunksAmongOthers) {
    std::string data = zlib(bytes({0, 1, 2, 3, 4, 5, 6, 0, 10, 20, 30, 40, 50, 60}));
    std::string file = header(2, 2, 8, 2) + chunk("IDAT", data.substr(0, 3)) + chunk("tEXt", "a\0b") +
                       chunk("IDAT", data.substr(3, 5)) + chunk("IDAT", "") + chunk("IDAT", data.substr(8)) + iend;
    EXPECT_EQ(decode(file).rgba, decode(rgb_2x2()).rgba);
}

TEST(PngFiles, EveryFilterTypeAndABadOne) {
    // Sub, Up, Average and Paeth over the same two rows; libpng-written files
    // cover them at scale, this checks the arithmetic on known numbers.
    std::string sub = header(2, 1, 8, 0) + chunk("IDAT", zlib(bytes({1, 100, 200}))) + iend;
    EXPECT_EQ(decode(sub).rgba, (Bytes{100, 100, 100, 255, 44, 44, 44, 255}));
    std::string average = header(2, 2, 8, 0) + chunk("IDAT", zlib(bytes({0, 100, 50, 3, 10, 10}))) + iend;
    // Row 2: 10 + 100 / 2 = 60, then 10 + (60 + 50) / 2 = 65.
    EXPECT_EQ(decode(average).rgba[8], 60);
    EXPECT_EQ(decode(average).rgba[12], 65);
    std::string paeth = header(2, 2, 8, 0) + chunk("IDAT", zlib(bytes({0, 100, 50, 4, 1, 1}))) + iend;
    // Row 2: Paeth(0, 100, 0) = 100 -> 101; Paeth(101, 50, 100) = 50 -> 51.
    EXPECT_EQ(decode(paeth).rgba[8], 101);
    EXPECT_EQ(decode(paeth).rgba[12], 51);
    EXPECT_EQ(decode(rgb_2x2(5)).error, 36u);
    std::string interlaced_bad = header(2, 2, 8, 0, 1) + chunk("IDAT", zlib(bytes({0, 1, 0, 2, 9, 3, 4}))) + iend;
    EXPECT_EQ(decode(interlaced_bad).error, 36u);
}

TEST(PngFiles, HeaderFaultsHaveTheirCodes) {
    EXPECT_EQ(decode("").error, 48u);
    EXPECT_EQ(decode(header(1, 1, 8, 2).substr(0, 28)).error, 27u);
    std::string signature = rgb_2x2();
    signature[1] = 'Q';
    EXPECT_EQ(decode(signature).error, 28u);
    std::string not_first = rgb_2x2();
    not_first[12] = 'i';
    EXPECT_EQ(decode(not_first).error, 29u);
    EXPECT_EQ(decode(header(1, 1, 8, 5) + iend).error, 31u);
    EXPECT_EQ(decode(header(1, 1, 8, 2, 0, 1) + iend).error, 32u);
    EXPECT_EQ(decode(header(1, 1, 8, 2, 0, 0, 1) + iend).error, 33u);
    EXPECT_EQ(decode(header(1, 1, 8, 2, 2) + iend).error, 34u);
    for (int bad : {0, 3, 32}) EXPECT_EQ(decode(header(1, 1, bad, 0) + iend).error, 37u) << bad;
    EXPECT_EQ(decode(header(1, 1, 16, 3) + iend).error, 37u);
    EXPECT_EQ(decode(header(1, 1, 4, 2) + iend).error, 37u);
    EXPECT_EQ(decode(header(1, 1, 2, 6) + iend).error, 37u);
    EXPECT_EQ(png_error, 37u);
}

TEST(PngFiles, ChunkFaultsHaveTheirCodes) {
    std::string data = chunk("IDAT", zlib(bytes({0, 1, 2, 3})));
    EXPECT_EQ(decode(header(1, 1, 8, 2) + data).error, 30u) << "no IEND";
    std::string overlong = header(1, 1, 8, 2) + data + iend;
    overlong.replace(33, 4, be32(1000));
    EXPECT_EQ(decode(overlong).error, 35u);
    std::string rgb = header(1, 1, 8, 2), grey = header(1, 1, 8, 0), indexed = header(1, 1, 8, 3);
    EXPECT_EQ(decode(indexed + chunk("PLTE", std::string(257 * 3, 'x')) + data + iend).error, 38u);
    EXPECT_EQ(decode(indexed + chunk("PLTE", "abcdef") + chunk("tRNS", "123") + data + iend).error, 39u);
    EXPECT_EQ(decode(grey + chunk("tRNS", "123") + data + iend).error, 40u);
    EXPECT_EQ(decode(rgb + chunk("tRNS", "1234") + data + iend).error, 41u);
    EXPECT_EQ(decode(header(1, 1, 8, 6) + chunk("tRNS", "12") + data + iend).error, 42u);
    EXPECT_EQ(decode(header(1, 1, 8, 4) + chunk("tRNS", "12") + data + iend).error, 42u);
    EXPECT_EQ(decode(indexed + chunk("bKGD", "12") + data + iend).error, 43u);
    EXPECT_EQ(decode(header(1, 1, 8, 4) + chunk("bKGD", "1") + data + iend).error, 44u);
    EXPECT_EQ(decode(header(1, 1, 8, 6) + chunk("bKGD", "12") + data + iend).error, 45u);
    Decoded background = decode(rgb + chunk("bKGD", bytes({0, 1, 0, 2, 0, 3})) + data + iend);
    EXPECT_EQ(background.error, 0u);
    EXPECT_TRUE(background.info.background_defined);
    EXPECT_EQ(background.info.background_b, 3);
    EXPECT_EQ(decode(rgb + chunk("IDAT", "\x78\x9d") + iend).error, 24u) << "inflater codes pass through";
}

TEST(PngFiles, ImagesBeyondTheCallersRoomAreRefused) {
    std::string file = rgb_2x2();
    EXPECT_EQ(decode(file, 16).error, 0u);
    Decoded refused = decode(file, 15);
    EXPECT_EQ(refused.error, 49u);
    EXPECT_TRUE(refused.rgba.empty());
    EXPECT_EQ(decode(header(0, 5, 8, 2) + iend).error, 49u);
    EXPECT_EQ(decode(header(5, 0, 8, 2) + iend).error, 49u);
    // Four billion rows would make the customary inflate buffer tens of GiB.
    EXPECT_EQ(decode(header(1, 0xFFFFFFFFu, 8, 2) + iend).error, 49u);
}

TEST(PngFiles, ImageDataEndingEarlyReadsAsZeros) {
    std::string short_data = header(2, 2, 8, 2) + chunk("IDAT", zlib(bytes({0, 1, 2, 3, 4, 5, 6}))) + iend;
    Decoded d = decode(short_data);
    ASSERT_EQ(d.error, 0u);
    EXPECT_EQ(d.rgba, (Bytes{1, 2, 3, 255, 4, 5, 6, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
}

// The inflate buffer is width x (height x bpp + 7) / 8 + 8 x height with the
// division last: 1000 x 9 / 8 + 16 = 1141 bytes for a 1000 x 2 one-bit image,
// whose scanlines need only 252. Trailing inflated bytes up to that size are
// accepted; one more byte is refused (stored block with the output full).
TEST(PngFiles, InflatedDataMayFillTheWholeInflateBuffer) {
    std::string scanlines = std::string(1, '\0') + std::string(125, '\xff') + std::string(1, '\0') +
                            std::string(125, '\0');
    auto file_with = [&](std::size_t inflated) {
        std::string data = scanlines + std::string(inflated - scanlines.size(), '\0');
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        std::string stored(size, '\0');
        compress2(reinterpret_cast<Bytef*>(&stored[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), 0);
        stored.resize(size);
        return header(1000, 2, 1, 0) + chunk("IDAT", stored) + iend;
    };
    Decoded fits = decode(file_with(1141));
    ASSERT_EQ(fits.error, 0u);
    EXPECT_EQ(fits.rgba[0], 255);
    EXPECT_EQ(fits.rgba[4 * 999], 255);
    EXPECT_EQ(fits.rgba[4 * 1000], 0);
    EXPECT_EQ(decode(file_with(1142)).error, 22u);
}

TEST(PngFiles, AnRgbaRecordThatHoldsABufferIsReportedAndReplaced) {
    fake::reset();
    platform::console_allocate();
    std::string file = rgb_2x2();
    PngInfo info;
    PngBuffer rgba{static_cast<std::uint8_t*>(std::malloc(7)), 7};
    EXPECT_EQ(png_decode(reinterpret_cast<const std::uint8_t*>(file.data()), static_cast<std::int32_t>(file.size()),
                         &info, &rgba, four_mib),
              0u);
    EXPECT_EQ(rgba.size, 16u);
    EXPECT_EQ(fake::state.console, "real resize? \n ");
    png_buffer_free(&rgba);
}

// ---------------------------------------------------------------- png_load

class PngLoad : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        blob_open();
        image.pixels = buffer;
        image.capacity = sizeof buffer;
        std::memset(buffer, 0xCD, sizeof buffer);
    }
    void TearDown() override { blob_close(); }
    fake::TempDir dir;
    std::uint8_t buffer[64];
    Image image{};
};

TEST_F(PngLoad, CopiesTheDecodedRowsAndTagsTheImage) {
    fake::write_file("pool/test.png", rgb_2x2());
    png_load("pool/test.png", &image);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.bits, 24);
    EXPECT_EQ(Bytes(buffer, buffer + 16), decode(rgb_2x2()).rgba);
    EXPECT_EQ(buffer[16], 0xCD) << "nothing past the picture";
}

TEST_F(PngLoad, AMissingFileLeavesTheImageAlone) {
    image.width = 7, image.height = 9;
    png_load("pool/none.png", &image);
    EXPECT_EQ(image.width, 7u);
    EXPECT_EQ(image.height, 9u);
    EXPECT_EQ(fake::state.boxes.size(), 1u);
}

TEST_F(PngLoad, AFailedOrOversizedDecodeLeavesAnEmptyImage) {
    fake::write_file("pool/bad.png", rgb_2x2(7));
    fake::write_file("pool/big.png", header(5, 5, 8, 2) + chunk("IDAT", zlib(std::string(5 * 16, '\0'))) + iend);
    for (const char* path : {"pool/bad.png", "pool/big.png"}) {
        image.width = 7, image.height = 9;
        png_load(path, &image);
        EXPECT_EQ(image.width, 0u) << path;
        EXPECT_EQ(image.height, 0u) << path;
        EXPECT_EQ(buffer[0], 0xCD) << "nothing copied";
    }
}

}  // namespace
