// The command line: what runs, what is refused (exit code 2) and why.
#include "app/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

OptionsResult parse(std::vector<std::string> args, CaptureRequest* request) {
    args.insert(args.begin(), "heden");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return options_parse(static_cast<int>(args.size()), argv.data(), request);
}

TEST(Options, NoOptionsPlaysTheDemo) {
    CaptureRequest r;
    EXPECT_EQ(parse({}, &r), OptionsResult::run);
    EXPECT_FALSE(r.active());
}

TEST(Options, EveryOptionInBothSpellings) {
    CaptureRequest r;
    ASSERT_EQ(parse({"--capture", "out.MKV", "--fps=25", "--start", "1.5", "--end=3", "--still", "2:a.png",
                     "--still=2.5:C:\\b.png"},
                    &r),
              OptionsResult::run);
    EXPECT_EQ(r.video, "out.MKV");
    EXPECT_EQ(r.fps, 25);
    EXPECT_DOUBLE_EQ(r.start, 1.5);
    EXPECT_TRUE(r.has_end);
    EXPECT_DOUBLE_EQ(r.end, 3.0);
    ASSERT_EQ(r.stills.size(), 2u);
    EXPECT_DOUBLE_EQ(r.stills[1].seconds, 2.5);
    EXPECT_EQ(r.stills[1].path, "C:\\b.png");
    CaptureRequest stills_only;
    EXPECT_EQ(parse({"--still", "0:x.png", "--fps", "10"}, &stills_only), OptionsResult::run);
    EXPECT_TRUE(stills_only.active());
    EXPECT_TRUE(stills_only.video.empty());
    CaptureRequest segment;
    EXPECT_EQ(parse({"--capture", "s.mkv", "--segment=3/4"}, &segment), OptionsResult::run);
    EXPECT_EQ(segment.segment * 10 + segment.segments, 34);
    CaptureRequest join;
    EXPECT_EQ(parse({"--join", "out.mp4", "a.mkv", "b.mkv"}, &join), OptionsResult::join);
    EXPECT_EQ(join.video, "out.mp4");
    EXPECT_EQ(join.joined, (std::vector<std::string>{"a.mkv", "b.mkv"}));
}

TEST(Options, GlEsGoesWithStillsAndCaptures) {
    CaptureRequest es, desktop;
    EXPECT_EQ(parse({"--still", "1:a.png", "--gl", "es"}, &es), OptionsResult::run);
    EXPECT_TRUE(es.gl_es);
    EXPECT_EQ(parse({"--capture", "a.mkv", "--gl=desktop"}, &desktop), OptionsResult::run);
    EXPECT_FALSE(desktop.gl_es);
}

TEST(Options, HelpWinsAndRunsNothing) {
    CaptureRequest r;
    EXPECT_EQ(parse({"--capture", "a.mp4", "--help", "--bogus"}, &r), OptionsResult::help);
}

TEST(Options, BadCommandLinesAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"capture.mp4"},
        {"--capture"},                                   // no value
        {"--capture", "a.avi"},                          // unknown container
        {"--capture", "mp4"},
        {"--capture", "a.mp4", "--capture", "b.mp4"},
        {"--capture", "a.mp4", "--fps", "0"},
        {"--capture", "a.mp4", "--fps", "1001"},
        {"--capture", "a.mp4", "--fps", "29.97"},
        {"--capture", "a.mp4", "--fps", "thirty"},
        {"--capture", "a.mp4", "--start", "-1"},
        {"--capture", "a.mp4", "--start", "nan"},
        {"--capture", "a.mp4", "--end", "inf"},
        {"--capture", "a.mp4", "--end", "3s"},
        {"--capture", "a.mp4", "--start", "5", "--end", "2"},  // end before start
        {"--capture", "a.mp4", "--start", "5", "--end", "5"},
        {"--still", "3.png"},
        {"--still", "3:"},
        {"--still", ":a.png"},
        {"--still", "1:a.png", "--start", "2"},             // before the stretch
        {"--still", "4:a.png", "--end", "4"},               // the end is not in it
        {"--fps", "30"},                                    // timing without anything to time
        {"--start", "1"},
        {"--still", "10:s.jpg"},                            // a still is a .png
        {"--still", "10:s"},
        {"--capture", "a.mkv", "--segment", "2/2"},         // segments 0 and 1 of 2
        {"--capture", "a.mkv", "--segment", "1/2x"},
        {"--segment", "0/2"},                               // a segment of no capture
        {"--capture", "a.mkv", "--segment", "0/2", "--still", "1:a.png"},
        {"--join", "a.mkv"},                                // nothing to join
        {"--join", "a.avi", "s.mkv"},
        {"--gl", "es"},                                     // ES has no window to play in
        {"--gl", "gles", "--still", "1:a.png"},
    };
    for (const auto& args : bad) {
        CaptureRequest r;
        std::string line;
        for (const std::string& a : args) line += a + " ";
        EXPECT_EQ(parse(args, &r), OptionsResult::bad) << line;
    }
}

}  // namespace
