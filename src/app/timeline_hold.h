// The main loop's side of the timeline's pause (window/window_proc.h): the
// clock and the music held and let go, the frame picked worked out as a play
// from 0 has it, the frame held drawn again.
#pragma once

#include "demo/draw_scratch.h"
#include "demo/frame_view.h"

// Follows the pause as the window procedure left it, `last_drawn` being the
// view of the frame the demo drew last: holds the clock or lets it go, and
// works out a frame picked (without drawing it). True while held.
bool timeline_hold_follow(const FrameView& last_drawn);

// Draws the frame held from its state, without working it out again: its
// grain and every other random draw stand still.
void timeline_hold_draw(DrawScratch& scratch);
