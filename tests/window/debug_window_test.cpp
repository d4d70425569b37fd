#include "window/debug_window.h"

#include <gtest/gtest.h>

#include "clock/clock.h"
#include "config/settings.h"
#include "fake_platform.h"

namespace {

constexpr std::uint32_t green = 0x00FF00;

class Timeline : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings_defaults();
        window_state.debug_window = 0;
    }
    std::uint32_t at(int column, int row) { return picture.bitmap[row * timeline_width + column]; }
    int columns_with(std::uint32_t color, int row) {
        int n = 0;
        for (int c = 0; c < timeline_width; ++c) n += at(c, row) == color;
        return n;
    }
    TimelinePicture picture;
    float demo_time = 0;
};

TEST_F(Timeline, BeforeTheClockRunsOnlyTheDarkestBandAndPlayheadAtZero) {
    settings.demo_length = 150;
    timeline_draw(picture, demo_time, settings.demo_length);
    EXPECT_EQ(at(0, 100), green);
    for (int c = 1; c < timeline_width; ++c) ASSERT_EQ(at(c, 100), 128u) << c;
}

TEST_F(Timeline, BandsCover16BeatsInFourShades) {
    settings.demo_length = 150;  // 380 beats: 16 beats are 21.56 columns
    demo_time = 1;
    timeline_draw(picture, demo_time, settings.demo_length);
    EXPECT_EQ(at(1, 127), 128u);
    EXPECT_EQ(at(21, 127), 128u);
    EXPECT_EQ(at(22, 127), 160u);
    EXPECT_EQ(at(44, 127), 192u);
    EXPECT_EQ(at(65, 127), 224u);
    EXPECT_EQ(at(87, 127), 128u);  // the four shades repeat every 64 beats
}

TEST_F(Timeline, BarsSitInTheirLanesWithTheirColours) {
    settings.demo_length = 150;
    demo_time = 30;
    timeline_draw(picture, demo_time, settings.demo_length);
    // Bar 8: columns 431 to 451 in rows 0 to 7, over the bands on either side.
    EXPECT_LT(at(430, 3), 256u);
    EXPECT_EQ(at(431, 0), 0xFF0000u);
    EXPECT_EQ(at(451, 7), 0xFF0000u);
    EXPECT_NE(at(452, 7), 0xFF0000u);
    EXPECT_NE(at(431, 8), 0xFF0000u);
    // Bar 1, dark red, lane 0 from column 0; bar 3, green, lane 2 (rows 32 to 39).
    EXPECT_EQ(at(1, 0), 0x7F0000u);
    EXPECT_EQ(at(110, 32), green);
    EXPECT_EQ(at(110, 39), green);
    EXPECT_NE(at(110, 40), green);
    // Bar 4 (orange) overwrites nothing of bar 2: both are in lane 1.
    EXPECT_EQ(at(70, 16), 0xFF0000u);
    EXPECT_EQ(at(150, 16), 0xFFDD00u);
}

TEST_F(Timeline, PlayheadFollowsTheTime) {
    settings.demo_length = 150;
    demo_time = 30;  // 512 / 150 x 30 = 102.4
    timeline_draw(picture, demo_time, settings.demo_length);
    EXPECT_EQ(at(102, 64), green);
    EXPECT_EQ(columns_with(green, 64), 1);
    demo_time = 150;  // the end wraps to column 0
    timeline_draw(picture, demo_time, settings.demo_length);
    EXPECT_EQ(at(0, 64), green);
}

// A short demo puts bars far past the right edge; they are clipped rather
// than wrapped into the rows above.
TEST_F(Timeline, ShortDemoClipsBarsToTheBitmap) {
    settings.demo_length = 20;  // 50.7 beats
    demo_time = 5;
    timeline_draw(picture, demo_time, settings.demo_length);
    EXPECT_EQ(at(511, 16), 0xFF0000u);  // bar 2 runs off the right edge
    for (int r = 40; r < timeline_height; ++r)
        for (int c = 0; c < timeline_width; ++c)
            if (c != static_cast<int>(512 / 20.0 * 5)) ASSERT_LT(at(c, r), 256u) << c << "," << r;
}

TEST_F(Timeline, ZeroLengthDrawsOnlyTheBands) {
    settings.demo_length = 0;
    demo_time = 3;
    timeline_draw(picture, demo_time, settings.demo_length);
    for (int c = 0; c < timeline_width; ++c) ASSERT_EQ(at(c, 0), 128u);
    EXPECT_EQ(fake::count("blit_bitmap"), 0);  // no window, no copy
}

TEST_F(Timeline, WindowIsPlacedAwayFromTheMainWindowAndSizedExactly) {
    ASSERT_EQ(debug_window_create(), 0);
    EXPECT_EQ(fake::count("create_window(debug window,sysmenu,16,16,512,128)"), 1);
    EXPECT_EQ(fake::count("move_window(0x1001,16,16,240,-305)"), 1);  // 2 x 512 - 784, 2 x 128 - 561
    settings.halign = 0;
    settings.valign = 0;
    fake::state.client = {512, 128};
    ASSERT_EQ(debug_window_create(), 0);
    EXPECT_EQ(fake::count("create_window(debug window,sysmenu,752,880,512,128)"), 1);
    timeline_draw(picture, demo_time, settings.demo_length);
    EXPECT_EQ(fake::count("blit_bitmap(0x2001,512,128)"), 1);
}

TEST_F(Timeline, FailedWindowLogsErrorAndIsSkipped) {
    platform::console_allocate();
    fake::script("create_window", {0});
    EXPECT_EQ(debug_window_create(), window_no_window);
    EXPECT_EQ(fake::state.console, "error");
    timeline_show(picture);
    EXPECT_EQ(fake::count("blit_bitmap"), 0);
}

}  // namespace
