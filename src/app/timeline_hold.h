// The main loop's side of the timeline's pause (window/window_proc.h): the
// clock and the music held and let go, the frame picked worked out as a play
// from 0 has it, the frame held drawn again.
#pragma once

#include <optional>

#include "app/live_demo.h"
#include "demo/frame_replay.h"
#include "demo/frame_view.h"

class TimelineHold {
public:
    // Follows the pause as the window procedure left it, `last_drawn` being
    // the view of the frame the demo drew last: holds the clock or lets it
    // go, and works out a frame picked into the demo's state (without
    // drawing it). True while held.
    bool follow(LiveDemo& live, const FrameView& last_drawn);

    // Draws the frame held from its state, without working it out again: its
    // grain and every other random draw stand still.
    void draw(LiveDemo& live) const;

private:
    void hold(LiveDemo& live, const FrameView& last_drawn);
    void let_go(LiveDemo& live);
    void work_out(LiveDemo& live, long long frame);
    void caption() const;

    bool active_ = false;
    long long frame_ = 0;
    bool on_grid_ = false;  // the state is that of `frame_` worked out from 0
    FrameView view_{};
    long ms_ = 0;           // the process clock as the state saw it
    std::optional<FrameReplay> replay_;
};
