// Which frames a capture renders, from the request and the music's length.
#include <gtest/gtest.h>

#include "capture/capture_plan.h"

namespace {

CaptureRequest video(double start, double end, int fps) {
    CaptureRequest r;
    r.video = "out.mkv";
    r.start = start;
    r.end = end;
    r.has_end = true;
    r.fps = fps;
    return r;
}

TEST(CapturePlan, FramesCoverTheStretchOnTheFrameGrid) {
    EXPECT_EQ(plan_frame_count(1.0, 3.0, 30), 60);
    EXPECT_EQ(plan_frame_count(0.0, 0.29, 100), 29);  // 28.999... is on the grid
    EXPECT_EQ(plan_frame_count(0.0, 0.295, 100), 30);  // a part frame is a frame
    EXPECT_EQ(plan_frame_count(2.0, 2.0, 60), 0);
    EXPECT_EQ(plan_frame_at(0.0, 100, 0.29), 29);
    EXPECT_EQ(plan_frame_at(1.0, 10, 1.25), 2);  // the frame still showing at 1.25
}

TEST(CapturePlan, DefaultEndIsTheMusicAndTenSecondsOfClosingScene) {
    CaptureRequest r;
    r.video = "out.mp4";
    CapturePlan plan;
    ASSERT_TRUE(capture_plan_make(r, 150.5, &plan));
    EXPECT_DOUBLE_EQ(plan.end, 160.5);
    EXPECT_EQ(plan.video_frames, 9630);
    EXPECT_EQ(plan.render_frames, 9630);
}

// Every capture numbers its frames on the grid from 0, whatever its start.
TEST(CapturePlan, StillsAndVideoAreFramesOfTheGridFromZero) {
    CaptureRequest r = video(1.0, 3.0, 10);
    r.stills = {{2.55, "a.png"}, {1.0, "b.png"}};
    CapturePlan plan;
    ASSERT_TRUE(capture_plan_make(r, 100.0, &plan));
    EXPECT_EQ(plan.first_frame, 10);
    EXPECT_EQ(plan.video_frames, 20);
    EXPECT_EQ(plan.still_frames, (std::vector<long long>{25, 10}));
    EXPECT_EQ(plan.render_frames, 30);
    // Stills alone are worked out only up to the last one.
    r.video.clear();
    ASSERT_TRUE(capture_plan_make(r, 100.0, &plan));
    EXPECT_EQ(plan.video_frames, 0);
    EXPECT_EQ(plan.render_frames, 26);
    // A start between frames begins with the next one.
    ASSERT_TRUE(capture_plan_make(video(1.05, 2.0, 10), 100.0, &plan));
    EXPECT_EQ(plan.first_frame, 11);
    EXPECT_EQ(plan.video_frames, 9);
}

// Segments K of N cut the capture's frames into contiguous stretches that
// together are the whole, however the frames divide.
TEST(CapturePlan, SegmentsCoverTheCaptureWithoutGapsOrOverlaps) {
    CapturePlan whole, piece;
    CaptureRequest r = video(1.05, 9.0, 30);
    ASSERT_TRUE(capture_plan_make(r, 100.0, &whole));
    r.segments = 7;
    long long next = whole.first_frame;
    for (r.segment = 0; r.segment < r.segments; ++r.segment) {
        ASSERT_TRUE(capture_plan_make(r, 100.0, &piece));
        EXPECT_EQ(piece.first_frame, next) << r.segment;
        EXPECT_GE(piece.video_frames, whole.video_frames / 7) << r.segment;
        EXPECT_EQ(piece.render_frames, piece.first_frame + piece.video_frames);
        next += piece.video_frames;
    }
    EXPECT_EQ(next, whole.first_frame + whole.video_frames);
    r = video(1.0, 1.1, 30);  // 3 frames cannot make 4 segments
    r.segments = 4;
    EXPECT_FALSE(capture_plan_make(r, 100.0, &piece));
}

TEST(CapturePlan, StretchesAndStillsOutsideTheDemoAreRefused) {
    CapturePlan plan;
    CaptureRequest late;
    late.video = "out.mp4";
    late.start = 170.0;  // past the music and its closing scene
    EXPECT_FALSE(capture_plan_make(late, 150.0, &plan));
    CaptureRequest still;
    still.stills = {{160.0, "x.png"}};  // the default end is not included
    EXPECT_FALSE(capture_plan_make(still, 150.0, &plan));
    still.stills = {{159.99, "x.png"}};
    EXPECT_TRUE(capture_plan_make(still, 150.0, &plan));
    CaptureRequest before = video(5.0, 6.0, 60);
    before.stills = {{4.0, "x.png"}};
    EXPECT_FALSE(capture_plan_make(before, 150.0, &plan));
}

}  // namespace
