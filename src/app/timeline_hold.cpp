#include "app/timeline_hold.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "clock/clock.h"
#include "clock/soundtrack.h"
#include "config/settings.h"
#include "demo/frame_replay.h"
#include "demo/frame_schedule.h"
#include "demo/frame_state.h"
#include "window/debug_window.h"
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

// The debug window says which moment is held: the time as --still takes it,
// the beat and the frame of the 60 fps grid. Its own caption comes back when
// the demo plays on.
void caption_held() {
    if (!held.active) {
        debug_window_title(nullptr);
        return;
    }
    char text[128] = "paused";
    if (held.on_grid) {
        double seconds = held.frame / static_cast<double>(grid_fps);
        std::snprintf(text, sizeof text, "paused at %s s, beat %.2f, frame %lld", still_time(held.frame).c_str(),
                      seconds * beats_per_second, held.frame);
    }
    debug_window_title(text);
}

void hold(const FrameView& last_drawn) {
    ClockOps.clock_stop();
    held = Held{true, timeline_pause().frame, false, last_drawn, clock_process_ms()};
    caption_held();
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
    caption_held();
}

// The track ends where a still's does, at the music's own length, whether
// or not it plays: the timeline of a silent run spans the configured length.
double track_length() {
    double music = soundtrack_length();
    return music > 0 ? music : clock_length();
}

void work_out(long long frame) {
    if (!replay) replay.emplace(grid_fps, track_length());
    // A right click while held waits for the play to go on: a play from 0
    // has none.
    held.view = replay->seek(frame_state, frame);
    held.frame = frame;
    held.on_grid = true;
    held.ms = replay->frame_ms();
    caption_held();
}

}  // namespace

bool timeline_hold_follow(const FrameView& last_drawn) {
    const TimelinePause& pause = timeline_pause();
    if (pause.paused != held.active) pause.paused ? hold(last_drawn) : let_go();
    if (!held.active) return false;
    if (!pause.live && (pause.frame != held.frame || !held.on_grid)) work_out(pause.frame);
    return true;
}

void timeline_hold_draw(DrawScratch& scratch) {
    frame_draw(frame_state, held.view, scratch);
    // The playhead stands on the frame held, past the end of the music too,
    // where the picture's own time stops.
    float time = held.on_grid ? static_cast<float>(held.frame / static_cast<double>(grid_fps)) : held.view.time;
    if (settings.debug_timeline) timeline_draw(time, clock_length());
}
