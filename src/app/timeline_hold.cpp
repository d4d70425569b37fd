#include "app/timeline_hold.h"

#include <optional>
#include <utility>

#include "clock/clock.h"
#include "demo/frame_replay.h"
#include "demo/frame_schedule.h"
#include "demo/frame_state.h"
#include "window/window.h"
#include "window/window_proc.h"

namespace {

struct Held {
    bool active = false;
    long long frame = 0;
    bool on_grid = false;  // the state is that of `frame` worked out from 0
    FrameView view{};
    long ms = 0;           // the process clock as the state saw it
};

Held held;
std::optional<FrameReplay> replay;

void hold(const FrameView& last_drawn) {
    ClockOps.clock_stop();
    held = Held{true, timeline_pause().frame, false, last_drawn, clock_process_ms()};
}

// Plays on from the state held: the closing scene's time goes on from where
// it was held, the clock and the music from the time held.
void let_go() {
    if (frame_state.track_end_clock >= 0) frame_state.track_end_clock += clock_process_ms() - held.ms;
    track_ended = 0;
    ClockOps.clock_seek(held.view.time);
    ClockOps.clock_start(held.view.time);
    held.active = false;
    if (replay) replay->forget();
}

void work_out(long long frame) {
    if (!replay) replay.emplace(grid_fps, clock_length());
    // A right click while held waits for the play to go on: a play from 0
    // has none.
    std::optional<float> request = std::exchange(window_state.hdr_level_request, std::nullopt);
    held.view = replay->seek(frame_state, frame);
    window_state.hdr_level_request = request;
    held.frame = frame;
    held.on_grid = true;
    held.ms = replay->frame_ms();
}

}  // namespace

bool timeline_hold_follow(const FrameView& last_drawn) {
    const TimelinePause& pause = timeline_pause();
    if (pause.paused != held.active) pause.paused ? hold(last_drawn) : let_go();
    if (!held.active) return false;
    if (!pause.live && (pause.frame != held.frame || !held.on_grid)) work_out(pause.frame);
    return true;
}

void timeline_hold_draw() { frame_draw(frame_state, held.view); }
