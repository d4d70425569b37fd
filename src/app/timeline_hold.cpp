#include "app/timeline_hold.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "clock/clock.h"
#include "clock/soundtrack.h"
#include "config/settings.h"
#include "demo/frame_schedule.h"
#include "window/debug_window.h"
#include "window/window_proc.h"

namespace {

// The grid frame's start as --still takes it: the fewest decimals (up to
// three, rounded up) that still name this frame and no other.
std::string still_time(long long frame) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", std::ceil(frame * 1000.0 / grid_fps) / 1000.0);
    std::string t = text;
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t;
}

// The track ends where a still's does, at the music's own length, whether
// or not it plays: the timeline of a silent run spans the configured length.
double track_length(const DemoClock& clock) {
    double music = soundtrack_length();
    return music > 0 ? music : clock_length(clock);
}

}  // namespace

// The debug window says which moment is held: the time as --still takes it,
// the beat and the frame of the 60 fps grid. Its own caption comes back when
// the demo plays on.
void TimelineHold::caption() const {
    if (!active_) {
        debug_window_title(nullptr);
        return;
    }
    char text[128] = "paused";
    if (on_grid_) {
        double seconds = frame_ / static_cast<double>(grid_fps);
        std::snprintf(text, sizeof text, "paused at %s s, beat %.2f, frame %lld", still_time(frame_).c_str(),
                      seconds * beats_per_second, frame_);
    }
    debug_window_title(text);
}

void TimelineHold::hold(LiveDemo& live, const FrameView& last_drawn) {
    clock_stop(live.play.clock);
    active_ = true;
    frame_ = timeline_pause().frame;
    on_grid_ = false;
    view_ = last_drawn;
    ms_ = clock_process_ms(live.play.clock);
    caption();
}

// Plays on from the state held: the closing scene's time goes on from where
// it was held, the clock and the music from the time held.
void TimelineHold::let_go(LiveDemo& live) {
    DemoClock& clock = live.play.clock;
    if (live.state.track_end_clock >= 0) live.state.track_end_clock += clock_process_ms(clock) - ms_;
    clock.track_ended = 0;
    clock_seek(clock, view_.time);
    clock_start(clock, view_.time);
    active_ = false;
    if (replay_) replay_->forget();
    caption();
}

void TimelineHold::work_out(LiveDemo& live, long long frame) {
    if (!replay_) replay_.emplace(grid_fps, track_length(live.play.clock));
    // A right click while held waits for the play to go on: a play from 0
    // has none.
    view_ = replay_->seek(live.state, frame);
    frame_ = frame;
    on_grid_ = true;
    ms_ = replay_->frame_ms();
    caption();
}

bool TimelineHold::follow(LiveDemo& live, const FrameView& last_drawn) {
    const TimelinePause& pause = timeline_pause();
    if (pause.paused != active_) pause.paused ? hold(live, last_drawn) : let_go(live);
    if (!active_) return false;
    if (!pause.live && (pause.frame != frame_ || !on_grid_)) work_out(live, pause.frame);
    return true;
}

void TimelineHold::draw(LiveDemo& live) const {
    frame_draw(live.state, view_, live.scratch);
    // The playhead stands on the frame held, past the end of the music too,
    // where the picture's own time stops.
    float time = on_grid_ ? static_cast<float>(frame_ / static_cast<double>(grid_fps)) : view_.time;
    if (settings.debug_timeline) timeline_draw(live.timeline, time, clock_length(live.play.clock));
}
