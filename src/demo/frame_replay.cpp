#include "demo/frame_replay.h"

#include "demo/frame_schedule.h"

void FrameReplay::start(FrameState& state) {
    clock_ = DemoClock{};
    clock_install_frame(clock_, 0.0, fps_, length_);
    clock_start(clock_, 0.0f);
    frame_state_reset(state);
    next_ = 0;
}

FrameView FrameReplay::next(FrameState& state) {
    // A play from 0 has no right clicks.
    FrameInput input = frame_input_now(clock_, clock_tick(clock_));
    view_ = frame_update(state, input);
    ms_ = input.process_ms;
    ++next_;
    return view_;
}

FrameView FrameReplay::seek(FrameState& state, long long frame) {
    if (next_ > 0 && frame == next_ - 1) return view_;
    if (next_ == 0 || frame < next_) start(state);
    while (next_ <= frame) next(state);
    return view_;
}
