// The values one frame derives from the demo time, shared by the frame's
// passes and the overlays.
#pragma once

// The grain's shift and turn for one frame, drawn from the shared sequence
// when the frame's state is worked out.
struct GrainJitter {
    float dx, dy;    // shift at depth -1
    float degrees;   // turn about the view axis
};

struct FrameView {
    float time;        // the demo time the frame shows
    double beat;       // the time at 152 beats per minute, 0 before the start
    double bar_phase;  // position within the bar of four beats, 0 to 1
    float w, h;        // half extents of the view at depth -1
    GrainJitter grain;
};

// The drawing area in pixels.
struct AreaSize {
    int width, height;
};

// beat and bar_phase for a demo time; w and h for the drawing area; no grain
// jitter (that takes draws from the sequence).
FrameView frame_view_at(float time, AreaSize area);
