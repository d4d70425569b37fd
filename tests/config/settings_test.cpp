#include "config/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "config/xml.h"
#include "fake_platform.h"
#include "temp_dir.h"

namespace {

std::string full_config(const std::string& window_extra = "", const std::string& tail = "") {
    return "<?xml version=\"1.0\"?>\n<config>\n <window>\n  <width>1024</width><height>768</height>\n"
           "  <caption>heden</caption><depth>32</depth><fullscreen>1</fullscreen>\n"
           "  <halign>2</halign><valign>0</valign><multisample>1</multisample><glext>1</glext>\n" +
           window_extra +
           " </window>\n <viewport><width>16</width><height>9</height></viewport>\n"
           " <audio><enabled>1</enabled><length>140.5</length></audio>\n" +
           tail + "</config>\n";
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings_defaults();
        xml_reset();
        xml_errors.count = 0;
    }
    int load(const std::string& text) {
        fake::write_file("config.xml", text);
        return config_load("config.xml");
    }
    fake::TempDir dir;
};

TEST_F(Settings, BuiltInDefaults) {
    EXPECT_EQ(settings.window_width, 800);
    EXPECT_EQ(settings.window_height, 600);
    EXPECT_EQ(settings.color_depth, 32);
    EXPECT_EQ(settings.window_caption, nullptr);
    EXPECT_EQ(settings.area_width, 800);
    EXPECT_EQ(settings.area_height, 450);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(settings.audio_enabled, 1);
    EXPECT_FLOAT_EQ(settings.demo_length, 150.0f);
    EXPECT_EQ(settings.halign, 1);
    EXPECT_EQ(settings.valign, 1);
    EXPECT_EQ(settings.multisample, 0);
    EXPECT_EQ(settings.glext, 1);
    EXPECT_EQ(settings.debug_console, 0);
    EXPECT_EQ(settings.debug_timeline, 0);
}

TEST_F(Settings, CompleteFileWithoutDebugSection) {
    EXPECT_EQ(load(full_config()), 0);
    EXPECT_TRUE(fake::state.boxes.empty());
    EXPECT_EQ(settings.window_width, 1024);
    EXPECT_EQ(settings.window_height, 768);
    EXPECT_STREQ(settings.window_caption, "heden");
    EXPECT_EQ(settings.fullscreen, 1);
    EXPECT_EQ(settings.halign, 2);
    EXPECT_EQ(settings.valign, 0);
    EXPECT_EQ(settings.multisample, 1);
    EXPECT_FLOAT_EQ(settings.demo_length, 140.5f);
    EXPECT_EQ(settings.area_width, 1024);
    EXPECT_EQ(settings.area_height, 576);
    EXPECT_EQ(settings.debug_console, 0);
    EXPECT_EQ(settings.debug_timeline, 0);
    EXPECT_EQ(xml_document.node_count, 0);  // reset after success
    EXPECT_STREQ(settings.window_caption, "heden");  // the caption survives the reset
}

TEST_F(Settings, DebugKeysAreReadWhenTheSectionExists) {
    EXPECT_EQ(load(full_config("", "<debug><console>1</console><timeline>7</timeline></debug>")), 0);
    EXPECT_EQ(settings.debug_console, 1);
    EXPECT_EQ(settings.debug_timeline, 1);
}

TEST_F(Settings, MissingFileKeepsBuiltInDefaultsWithOneBox) {
    EXPECT_EQ(config_load("config.xml"), -1);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0],
              "an xml errors occured FILE `config.xml` is missing or not readable :(\n ");
    EXPECT_EQ(settings.window_width, 800);
    EXPECT_EQ(settings.audio_enabled, 1);
}

TEST_F(Settings, MalformedFilesShowTheirBoxesAndKeepDefaults) {
    EXPECT_EQ(load("<config><window><width>100</width></window>"), -1);
    EXPECT_EQ(fake::state.boxes.back(), "an xml errors occured parsing `config.xml` failed ");
    EXPECT_EQ(load("<config><window><width>100</width></config>"), -1);
    EXPECT_EQ(fake::state.boxes.back(),
              "fatal:\n0.no opener for </CONFIG> on line 1\n1.parsing `config.xml` failed");
    EXPECT_EQ(load("<config>" + std::string(400, 'x') + "</config>"), -1);
    EXPECT_EQ(fake::state.boxes.back(), "an xml errors occured parsing `config.xml` failed ");
    EXPECT_EQ(fake::state.boxes.size(), 3u);
    EXPECT_EQ(settings.window_width, 800);
    EXPECT_EQ(xml_errors.count, 0);
}

TEST_F(Settings, OverflowingFileIsRejectedNotWrittenPast) {
    std::string many = "<config>";
    for (int i = 0; i < 300; ++i) many += "<k>" + std::to_string(i) + "</k>";
    EXPECT_EQ(load(many + "</config>"), -1);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "fatal:\n0.too many xml elements on line 1\n1.parsing `config.xml` failed");
}

TEST_F(Settings, ValuesAreClampedToTheirRanges) {
    EXPECT_EQ(load("<config><window><width>100</width><height>9999</height><depth>0</depth>"
                   "<caption>c</caption><fullscreen>5</fullscreen><halign>-3</halign><valign>3</valign>"
                   "<multisample>2</multisample><glext>-1</glext></window>"
                   "<viewport><width>4</width><height>3</height></viewport>"
                   "<audio><enabled>9</enabled><length>1200</length></audio></config>"),
              0);
    EXPECT_EQ(settings.window_width, 320);
    EXPECT_EQ(settings.window_height, 2400);
    EXPECT_EQ(settings.color_depth, 1);
    EXPECT_EQ(settings.fullscreen, 1);
    EXPECT_EQ(settings.halign, 0);
    EXPECT_EQ(settings.valign, 2);
    EXPECT_EQ(settings.multisample, 1);
    EXPECT_EQ(settings.glext, 0);
    EXPECT_EQ(settings.audio_enabled, 1);
    EXPECT_FLOAT_EQ(settings.demo_length, 900.0f);
    EXPECT_EQ(load(full_config().replace(full_config().find("1024"), 4, "99999999999999")), 0);
    EXPECT_EQ(settings.window_width, 3200);
    EXPECT_EQ(load(full_config().replace(full_config().find("140.5"), 5, "-4")), 0);
    EXPECT_FLOAT_EQ(settings.demo_length, 0.0f);
}

TEST_F(Settings, NumbersAreReadLikeAtoi) {
    std::string text = full_config();
    text.replace(text.find("1024"), 4, "  900px");
    text.replace(text.find("768"), 3, "tall");
    EXPECT_EQ(load(text), 0);
    EXPECT_EQ(settings.window_width, 900);
    EXPECT_EQ(settings.window_height, 240);
}

TEST_F(Settings, MissingKeysTakeFallbacksAndShowOneBoxForTheLast) {
    EXPECT_EQ(load("<config><debug></debug></config>"), -2);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "fatal in xml\nerror: node `TIMELINE[0]` not found ");
    EXPECT_EQ(settings.window_width, 320);
    EXPECT_EQ(settings.window_height, 240);
    EXPECT_EQ(settings.color_depth, 1);
    EXPECT_EQ(settings.window_caption, nullptr);
    EXPECT_EQ(settings.audio_enabled, 0);
    EXPECT_FLOAT_EQ(settings.demo_length, 0.0f);
    EXPECT_EQ(settings.halign, 0);
    EXPECT_EQ(settings.valign, 0);
    EXPECT_EQ(settings.glext, 0);
    // Viewport fallback 0.0625 by 0.0625 is square: 320 x 240 gives t = 320.
    EXPECT_EQ(settings.area_width, 240);
    EXPECT_EQ(settings.area_height, 240);
    EXPECT_GT(xml_document.node_count, 0);  // not reset after missing keys
}

TEST_F(Settings, EmptyValueCountsAsMissing) {
    std::string text = full_config();
    text.replace(text.find("<width>1024</width>"), 19, "<width></width>");
    EXPECT_EQ(load(text), -2);
    EXPECT_EQ(settings.window_width, 320);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "fatal in xml\nerror: no id255 found for parent 3  ");
}

TEST_F(Settings, DrawingAreaIsTheLargestRectangleOfTheViewportAspect) {
    struct Case {
        int width, height;
        float vw, vh;
        int area_w, area_h;
    } cases[] = {
        {800, 600, 16, 9, 800, 450},
        {1000, 500, 16, 9, 888, 500},  // t = 562.5 is not below 500
        {800, 600, 4, 3, 800, 600},    // t = 600 is not below 600: second branch
        {1280, 1024, 16, 9, 1280, 720},
        {320, 2400, 1, 1, 320, 320},
        {320, 240, 65536, 0.0625f, 320, 1},  // extreme aspects keep a pixel
        {320, 240, 0.0625f, 65536, 1, 240},
    };
    for (const Case& c : cases) {
        settings.window_width = c.width;
        settings.window_height = c.height;
        area_compute(c.vw, c.vh);
        EXPECT_EQ(settings.area_width, c.area_w) << c.width << "x" << c.height;
        EXPECT_EQ(settings.area_height, c.area_h) << c.width << "x" << c.height;
    }
}

}  // namespace
