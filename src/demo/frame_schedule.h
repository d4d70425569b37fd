// One frame of the demo: the scene script for the current beat, the scene
// with its overlays, the tone split and the glow, composed on the window.
#pragma once

#include <optional>

#include "clock/clock.h"
#include "demo/draw_scratch.h"
#include "demo/frame_state.h"
#include "demo/frame_view.h"
#include "demo/scene_state.h"

// Everything a frame's update reads besides its state.
struct FrameInput {
    float time;                      // the demo time the clock's tick returned
    bool track_ended;                // the clock has seen the end of the track
    long process_ms;                 // the process clock as the frames see it
    std::optional<float> hdr_level;  // a right click on the timeline asked for it
    AreaSize area;                   // the drawing area
};

// The input of a frame at `time` from `clock` and the settings, with no HDR
// level asked for.
FrameInput frame_input_now(const DemoClock& clock, float time);

// frame_update, then frame_draw: what the live demo does every frame.
// Returns the frame's view.
FrameView frame_render(FrameState& state, const FrameInput& input, DrawScratch& scratch);
// The frame's state for its input: beat and bar, the scene script, the
// closing stretch and the end of the track, the camera's turn and the
// grain's jitter, into `state` (after the HDR level asked for) and the
// returned view. It reads nothing but `state` and `input`. Every draw from
// the shared random sequence a frame makes is made here, in a fixed order, so
// running this alone for the frames in between reaches any frame exactly as
// drawing them all would.
FrameView frame_update(FrameState& state, const FrameInput& input);
// The GL calls of the frame from that state. Draws no random numbers and
// writes nothing but GL and `scratch`.
void frame_draw(const FrameState& state, const FrameView& view, DrawScratch& scratch);

// Notes the end of the track when the clock has just seen it, as a frame
// would: the closing scene counts its time from there. For the main loop
// while no frame is drawn.
void track_end_note(FrameState& state, const FrameInput& input);

// The post-processing passes of a frame with extensions, in their order.
// Tone split at an HDR level: target_scene's picture into the base image
// (target_base) and the highlights (target_glow). Every pass draws into back
// buffers only.
void tone_split(const FrameView& view, float hdr_level);
// Horizontal, vertical, horizontal, vertical blur of the highlights through
// the two small targets; the glow ends in target_glow.
void glow_chain(const FrameView& view);
// The scene's background and the additive glow on the window (and the image
// flash where the beat calls for it); leaves the main context current.
void composite(const FrameView& view, const SceneState& scene);

// The uniform values of the tone split for an HDR level: the highlight cut
// 1 - level and the base image's 0.9 / (1 - level), kept finite.
struct ToneSplit {
    float cut;
    float icut;
};
ToneSplit tone_split_values(float level);
