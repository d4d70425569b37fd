// PCX pictures written here byte by byte, and the icon bitmaps made of them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/file_table.h"
#include "fake_platform.h"
#include "image/icon.h"
#include "image/pcx.h"
#include "image/window_icons.h"
#include "pcx_writer.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_image::PcxHeader;

constexpr std::uint8_t untouched = 0xEE;

std::string raw(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// Palette entry i is (i, 2i, 3i) except where a test says otherwise.
std::vector<std::uint8_t> ramp_palette() {
    std::vector<std::uint8_t> rgb(768);
    for (int i = 0; i < 256; ++i) rgb[3 * i] = static_cast<std::uint8_t>(i), rgb[3 * i + 1] = static_cast<std::uint8_t>(2 * i), rgb[3 * i + 2] = static_cast<std::uint8_t>(3 * i);
    return rgb;
}

struct Decode {
    int result;
    Image image;
    Bytes pixels;  // the whole buffer, guard bytes included
};

// Decodes into a buffer of `capacity` bytes (plus guard bytes outside it).
Decode decode(const std::string& file, std::uint32_t capacity = 16384) {
    Decode d{};
    d.pixels.assign(capacity + 64, untouched);
    d.image = Image{99, 99, 0, d.pixels.data(), capacity};
    d.result = pcx_decode(reinterpret_cast<const std::uint8_t*>(file.data()), &d.image, static_cast<std::int32_t>(file.size()));
    for (std::size_t i = capacity; i < d.pixels.size(); ++i)
        if (d.pixels[i] != untouched) ADD_FAILURE() << "wrote past the buffer at " << i;
    return d;
}

Bytes pixel(const Decode& d, std::size_t i) { return Bytes(d.pixels.begin() + 4 * i, d.pixels.begin() + 4 * i + 4); }

TEST(Pcx, OnePlaneGoesThroughThePaletteWithAZeroFourthByte) {
    // 7 x 2 (odd width), values as single bytes and as runs.
    std::string file = test_image::pcx_header({3, 5, 9, 6, 1}) + raw({1, 2, 0xC3, 200, 4, 5}) + raw({0xC7, 6}) +
                       test_image::pcx_palette(ramp_palette());
    Decode d = decode(file);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(d.image.width, 7u);
    EXPECT_EQ(d.image.height, 2u);
    EXPECT_EQ(d.image.bits, 24);
    const int indices[14] = {1, 2, 200, 200, 200, 4, 5, 6, 6, 6, 6, 6, 6, 6};
    for (int i = 0; i < 14; ++i) {
        int v = indices[i];
        EXPECT_EQ(pixel(d, i), (Bytes{std::uint8_t(v), std::uint8_t(2 * v), std::uint8_t(3 * v), 0})) << i;
    }
    EXPECT_EQ(d.pixels[4 * 14], untouched);
}

TEST(Pcx, PlanesFillBytesTwoOneZeroAndLeaveTheFourth) {
    // 3 x 2, three planes per row.
    std::string file = test_image::pcx_header({0, 0, 2, 1, 3}) + raw({1, 2, 3, 11, 12, 13, 21, 22, 23}) +
                       raw({0xC3, 7, 0xC3, 8, 0xC3, 9});
    Decode d = decode(file);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(pixel(d, 0), (Bytes{21, 11, 1, untouched}));
    EXPECT_EQ(pixel(d, 2), (Bytes{23, 13, 3, untouched}));
    EXPECT_EQ(pixel(d, 4), (Bytes{9, 8, 7, untouched}));
}

TEST(Pcx, PlanesAfterTheThirdAreReadButNotStored) {
    std::string file = test_image::pcx_header({0, 0, 1, 1, 4}) + raw({1, 2, 3, 4, 5, 6, 7, 8}) +
                       raw({9, 10, 11, 12, 13, 14, 15, 16});
    Decode d = decode(file);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(pixel(d, 0), (Bytes{5, 3, 1, untouched}));
    EXPECT_EQ(pixel(d, 3), (Bytes{14, 12, 10, untouched}));
}

TEST(Pcx, ARunPastTheEndOfALineEndsThatLine) {
    // Width 4: a run of 6 fills the first line; its last two bytes go nowhere
    // and the next line starts afresh. The last line's overlong run stays
    // inside the picture.
    std::string palette = test_image::pcx_palette(ramp_palette());
    Decode d = decode(test_image::pcx_header({0, 0, 3, 1, 1}) + raw({0xC6, 9, 1, 2, 3, 4}) + palette, 32);
    ASSERT_EQ(d.result, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d.pixels[4 * i], 9) << i;
    for (int i = 4; i < 8; ++i) EXPECT_EQ(d.pixels[4 * i], i - 3) << i;
    Decode last = decode(test_image::pcx_header({0, 0, 3, 0, 1}) + raw({0xFF, 9}) + palette, 16);
    ASSERT_EQ(last.result, 0);
    EXPECT_EQ(pixel(last, 3), (Bytes{9, 18, 27, 0}));
    // With planes, the line that a run overflows is one plane's line.
    Decode planes = decode(test_image::pcx_header({0, 0, 1, 0, 3}) + raw({0xC3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(pixel(planes, 0), (Bytes{8, 6, 5, untouched}));
    EXPECT_EQ(pixel(planes, 1), (Bytes{9, 7, 5, untouched}));
}

TEST(Pcx, ARunOfLengthZeroConsumesItsValueAndWritesNothing) {
    std::string file = test_image::pcx_header({0, 0, 1, 0, 3}) + raw({0xC0, 77, 1, 2, 3, 4, 5, 6});
    Decode d = decode(file);
    EXPECT_EQ(pixel(d, 0), (Bytes{5, 3, 1, untouched}));
    EXPECT_EQ(pixel(d, 1), (Bytes{6, 4, 2, untouched}));
}

TEST(Pcx, LinePaddingFromBytesPerLineStaysOutOfThePicture) {
    // Width 3 with 4 bytes per line, as encoders write odd widths: the pad
    // byte (99) of each plane line is skipped, not taken as picture data.
    std::string file = test_image::pcx_header({0, 0, 2, 1, 3, 4}) +
                       raw({1, 2, 3, 99, 11, 12, 13, 99, 21, 22, 23, 99, 0xC4, 4, 0xC4, 5, 0xC3, 6, 99});
    Decode d = decode(file);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(pixel(d, 0), (Bytes{21, 11, 1, untouched}));
    EXPECT_EQ(pixel(d, 2), (Bytes{23, 13, 3, untouched}));
    EXPECT_EQ(pixel(d, 5), (Bytes{6, 5, 4, untouched}));
    // A bytes-per-line field narrower than the width is not trusted.
    Decode narrow = decode(test_image::pcx_header({0, 0, 2, 0, 3, 1}) + raw({1, 2, 3, 11, 12, 13, 21, 22, 23}));
    EXPECT_EQ(pixel(narrow, 2), (Bytes{23, 13, 3, untouched}));
}

TEST(Pcx, TruncatedDataStopsWhereItEnds) {
    // Three planes of a 2 x 2 picture, cut after the first row and a
    // dangling run byte.
    std::string file = test_image::pcx_header({0, 0, 1, 1, 3}) + raw({1, 2, 3, 4, 5, 6, 0xC2});
    Decode d = decode(file);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(pixel(d, 1), (Bytes{6, 4, 2, untouched}));
    EXPECT_EQ(pixel(d, 2), (Bytes(4, untouched)));
}

TEST(Pcx, PicturesItCannotHoldAreRefused) {
    std::string palette = test_image::pcx_palette(ramp_palette());
    EXPECT_EQ(decode(test_image::pcx_header({0, 0, 63, 63, 1}) + raw({0xC1, 1}) + palette).result, 0);
    Decode big = decode(test_image::pcx_header({0, 0, 64, 63, 1}) + raw({0xC1, 1}) + palette);
    EXPECT_EQ(big.result, -1);
    EXPECT_EQ(big.image.width, 0u);
    EXPECT_EQ(big.image.height, 0u);
    EXPECT_EQ(big.pixels[0], untouched);
    EXPECT_EQ(decode(test_image::pcx_header({0, 0, 3, 3, 1}) + palette, 63).result, -1) << "capacity in bytes";
    EXPECT_EQ(decode(test_image::pcx_header({5, 0, 4, 3, 1}) + palette).result, -1) << "width 0";
    EXPECT_EQ(decode(test_image::pcx_header({0, 0, 3, -2, 1}) + palette).result, -1) << "negative height";
    EXPECT_EQ(decode(test_image::pcx_header({0, 0, 3, 3, 0}) + palette).result, -1) << "no planes";
    EXPECT_EQ(decode(test_image::pcx_header({0, 0, 3, 3, 1}) + raw({1, 2})).result, -1) << "no room for a palette";
    EXPECT_EQ(decode(test_image::pcx_header({0, 0, 3, 3, 3}).substr(0, 127)).result, -1) << "short header";
    EXPECT_EQ(decode("").result, -1);
}

// ---------------------------------------------------------------- icons

Image picture(std::uint32_t width, std::uint32_t height, Bytes& pixels) {
    return Image{width, height, 24, pixels.data(), static_cast<std::uint32_t>(pixels.size())};
}

TEST(IconBits, PureGreenIsMaskedAndBlack) {
    // A 32 x 32 palette picture whose entry 5 is pure green.
    std::vector<std::uint8_t> rgb = ramp_palette();
    rgb[15] = 0, rgb[16] = 255, rgb[17] = 0;
    std::string data;
    std::vector<std::uint8_t> line(32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) line[x] = static_cast<std::uint8_t>((x + y) % 3 == 0 ? 5 : 6 + (x * y) % 7);
        data += test_image::pcx_encode_line(line);
    }
    Decode d = decode(test_image::pcx_header({0, 0, 31, 31, 1}) + data + test_image::pcx_palette(rgb));
    ASSERT_EQ(d.result, 0);
    IconBits bits;
    ASSERT_EQ(icon_bits_make(d.image, &bits), 0);
    EXPECT_EQ(bits.mask_row_bytes, 4u);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            bool green = (x + y) % 3 == 0;
            bool masked = bits.and_mask[y * 4 + x / 8] >> (7 - x % 8) & 1;
            EXPECT_EQ(masked, green) << x << "," << y;
            int v = 6 + (x * y) % 7;
            EXPECT_EQ(bits.colour[y * 32 + x], green ? 0u : std::uint32_t(v | 2 * v << 8 | 3 * v << 16)) << x << "," << y;
        }
}

TEST(IconBits, EveryColumnIsMaskedAndRowsArePaddedToEvenBytes) {
    const std::uint32_t widths[] = {12, 20, 1, 8, 16, 17};
    for (std::uint32_t width : widths) {
        std::uint32_t height = 3;
        Bytes pixels(4 * width * height, 0);
        for (std::uint32_t x = 0; x < width; ++x) pixels[4 * (width + x) + 1] = 255;  // middle row all green
        Image image = picture(width, height, pixels);
        IconBits bits;
        std::memset(bits.and_mask, 0xFF, sizeof bits.and_mask);
        ASSERT_EQ(icon_bits_make(image, &bits), 0);
        std::uint32_t row_bytes = (width + 15) / 16 * 2;
        EXPECT_EQ(bits.mask_row_bytes, row_bytes) << width;
        for (std::uint32_t y = 0; y < height; ++y)
            for (std::uint32_t bit = 0; bit < row_bytes * 8; ++bit) {
                bool set = bits.and_mask[y * row_bytes + bit / 8] >> (7 - bit % 8) & 1;
                EXPECT_EQ(set, y == 1 && bit < width) << "width " << width << " row " << y << " bit " << bit;
            }
    }
}

TEST(IconBits, EmptyAndOversizedPicturesAreRefused) {
    Bytes pixels(4 * 4097, 0);
    IconBits bits;
    EXPECT_EQ(icon_bits_make(picture(0, 0, pixels), &bits), -1);
    EXPECT_EQ(icon_bits_make(picture(4097, 1, pixels), &bits), -1);
    EXPECT_EQ(icon_bits_make(picture(1, 4096, pixels), &bits), 0);
    EXPECT_EQ(bits.mask_row_bytes, 2u);
    Bytes small(16);
    EXPECT_EQ(icon_bits_make(picture(3, 3, small), &bits), -1) << "more pixels than its buffer holds";
}

// ---------------------------------------------------------------- loading

class IconFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        blob_open();
    }
    void TearDown() override { blob_close(); }
    fake::TempDir dir;
};

TEST_F(IconFiles, BothPicturesLoadInOrderIntoTheirOwnBuffers) {
    std::string palette = test_image::pcx_palette(ramp_palette());
    fake::write_file("pool/icon.pcx", test_image::pcx_header({0, 0, 31, 31, 1}) + raw({0xC1, 1}) + palette);
    fake::write_file("pool/icons.pcx", test_image::pcx_header({0, 0, 15, 15, 1}) + raw({0xC1, 2}) + palette);
    icon_images_load();
    EXPECT_EQ(icon_image.width, 32u);
    EXPECT_EQ(small_icon_image.width, 16u);
    EXPECT_EQ(icon_image.capacity, 16384u);
    EXPECT_EQ(small_icon_image.pixels[0], 2);
    EXPECT_EQ(fake::state.console.find("pool/icon.pcx") < fake::state.console.find("pool/icons.pcx"), true);
    std::uint8_t* first = icon_image.pixels;
    icon_images_load();
    EXPECT_EQ(icon_image.pixels, first) << "buffers are allocated once";
}

// Icon colour bits are 0x00RRGGBB. A three-plane picture already holds its
// pixels that way; a palette picture holds bytes R, G, B and needs turning.
TEST_F(IconFiles, PlanarAndPalettePicturesShowTheirOwnColours) {
    std::vector<std::uint8_t> rgb(768, 0);
    rgb[3] = 255;      // entry 1: red
    rgb[3 * 2 + 2] = 255;  // entry 2: blue
    fake::write_file("pool/icon.pcx", test_image::pcx_header({0, 0, 1, 0, 1}) + raw({1, 2}) + test_image::pcx_palette(rgb));
    // Red, green and blue planes of a red and a blue pixel.
    fake::write_file("pool/icons.pcx", test_image::pcx_header({0, 0, 1, 0, 3}) + raw({0xC1, 255, 0, 0, 0, 0, 0xC1, 255}));
    icon_images_load();
    window_icons_set(0x1234);
    const std::vector<std::uint32_t> red_blue{0x00FF0000u, 0x000000FFu};
    ASSERT_EQ(fake::state.icon_colours.size(), 2u);
    EXPECT_EQ(fake::state.icon_colours[0], red_blue) << "small icon, three planes";
    EXPECT_EQ(fake::state.icon_colours[1], red_blue) << "big icon, palette";
}

TEST_F(IconFiles, AMissingPictureKeepsItsRecordAndMakesNoIcon) {
    small_icon_image.width = small_icon_image.height = 0;
    icon_images_load();
    EXPECT_EQ(fake::state.boxes.size(), 2u);
    IconBits bits;
    EXPECT_EQ(icon_bits_make(small_icon_image, &bits), -1);
}

}  // namespace
