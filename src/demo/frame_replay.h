// Frames of a play from 0 on the frame grid, worked out without drawing: a
// frame clock of the replay's own ticks and frame_update moves the state on,
// frame by frame. A
// capture works out every frame this way; the paused timeline reaches the
// frame it shows this way, so both show what a capture from 0 shows.
#pragma once

#include "clock/clock.h"
#include "demo/frame_state.h"
#include "demo/frame_view.h"

class FrameReplay {
public:
    // Frames at `fps` a second over a track of `length` seconds.
    FrameReplay(int fps, double length) : fps_(fps), length_(length) {}

    // Back to frame 0: the replay's frame clock started at 0, the track not
    // ended, `state` reset.
    void start(FrameState& state);
    // Works out the next frame into `state` and returns its view.
    FrameView next(FrameState& state);

    // Works out `frame` into `state`: on from the frame last worked out when
    // it lies ahead (and nobody has moved the state since), else from 0. The
    // frame last worked out is not worked out again.
    FrameView seek(FrameState& state, long long frame);
    // The state has been moved on by others: the next seek starts from 0.
    void forget() { next_ = 0; }

    // The process clock as the frame last worked out saw it.
    long frame_ms() const { return ms_; }

private:
    int fps_;
    double length_;
    long long next_ = 0;   // 0: nothing worked out yet
    long ms_ = 0;
    FrameView view_{};     // of the frame last worked out
    DemoClock clock_;      // the frame clock
};
