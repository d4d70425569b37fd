#include "demo/frame_replay.h"

#include "demo/frame_schedule.h"

void FrameReplay::start(FrameState& state) {
    clock_install_frame(0.0, fps_, length_);
    ClockOps.clock_start(0.0f);
    track_ended = 0;
    frame_state_reset(state);
    next_ = 0;
}

FrameView FrameReplay::next(FrameState& state) {
    FrameInput input = frame_input_now(ClockOps.clock_tick());
    input.hdr_level.reset();  // a play from 0 has no right clicks
    view_ = frame_update(state, input);
    ms_ = input.process_ms;
    ++next_;
    return view_;
}

FrameView FrameReplay::seek(FrameState& state, long long frame) {
    if (next_ > 0 && frame == next_ - 1) return view_;
    ClockTable before = ClockOps;
    if (next_ == 0 || frame < next_)
        start(state);
    else
        ClockOps = clock_;
    while (next_ <= frame) next(state);
    clock_ = ClockOps;
    ClockOps = before;
    return view_;
}
