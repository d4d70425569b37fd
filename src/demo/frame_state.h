// Everything the frame's update writes, as one record: reset it to the
// values the run starts the frames with, copy it, compare it. The draw only
// reads it. Whoever runs frames owns one: the main loop, a capture.
#pragma once

#include <cstdint>

#include "demo/scene_state.h"

struct FrameState {
    SceneState scene;
    // Where the shared random sequence stands for the frames (start-up draws
    // the grain texture from rand_state before them).
    std::uint32_t rand_state = 0;
    // The process clock reading of the first frame that saw the end of the
    // track, kept so that the closing scene's time goes on across seeks; -1
    // before.
    long track_end_clock = -1;
};

// The values the frames start from: a fresh scene state, the objects where
// start-up put them, the sequence where start-up left it, the track not
// ended. For after precalc.
void frame_state_reset(FrameState& state);
