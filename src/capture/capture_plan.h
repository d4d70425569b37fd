// What a capture renders: the request from the command line, and the frames
// it comes to once the music's length is known.
#pragma once

#include <string>
#include <vector>

#include "clock/clock.h"

// Seconds of the closing scene a capture keeps after the music by default.
constexpr double closing_seconds = 10.0;
constexpr int default_fps = grid_fps;
constexpr int max_fps = 1000;
constexpr int max_segments = 10000;

struct StillRequest {
    double seconds;
    std::string path;
};

struct CaptureRequest {
    std::string video;  // empty: no video
    int fps = default_fps;
    double start = 0.0;
    bool has_end = false;
    double end = 0.0;
    std::vector<StillRequest> stills;
    // Segment `segment` of `segments` (0: the whole capture): the capture's
    // frames cut into that many contiguous stretches of nearly equal length,
    // which separate processes render and --join puts together.
    int segment = 0, segments = 0;
    // --join: the segments to join into `video`.
    std::vector<std::string> joined;
    bool gl_es = false;  // --gl es: OpenGL ES through EGL, no X server
    // --check: the options and the files they write are checked, and
    // nothing else happens.
    bool check_only = false;

    bool active() const { return !video.empty() || !stills.empty(); }
};

// Frames are numbered on one grid for every capture: frame n shows n / fps
// seconds. A capture that starts later works out the frames before its
// start without drawing them, so its frames are those of a capture from 0.
struct CapturePlan {
    double start = 0.0;
    double end = 0.0;
    int fps = default_fps;
    long long first_frame = 0;          // the video's first frame: the first at or after start
    long long video_frames = 0;         // 0 without a video
    long long render_frames = 0;        // frames from 0 to work out: through the video's, or the last still
    std::vector<long long> still_frames;  // one per still, in request order
};

// Frames from `start` up to (not including) `end`, one every 1 / fps s.
long long plan_frame_count(double start, double end, int fps);
// The frame shown at `seconds`: the last one that starts at or before it.
long long plan_frame_at(double start, int fps, double seconds);

// Checks the request against the music and works out the frames (of its
// segment, when it asks for one). False, with a message, when the stretch
// is empty, has fewer frames than segments, or a still lies outside it.
bool capture_plan_make(const CaptureRequest& request, double music_length, CapturePlan* plan);
