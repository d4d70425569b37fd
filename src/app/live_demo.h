// What the playing demo keeps from frame to frame, owned by the main loop:
// the clock and the viewer's requests (lent to the windows), the frame's
// state, what the draw writes and the timeline's picture.
#pragma once

#include "demo/draw_scratch.h"
#include "demo/frame_state.h"
#include "window/debug_window.h"
#include "window/window.h"

struct LiveDemo {
    PlayControls play;
    FrameState state;
    DrawScratch scratch;
    TimelinePicture timeline;
};
