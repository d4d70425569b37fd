#include "app/demo_main.h"

#include <memory>
#include <string>

#include "app/capture_run.h"
#include "app/live_demo.h"
#include "app/options.h"
#include "app/timeline_hold.h"
#include "app/unattended.h"
#include "capture/encoder_process.h"
#include "capture/file_out.h"
#include "capture/segment_join.h"

#include "log/log.h"
#include "clock/clock.h"
#include "clock/soundtrack.h"
#include "config/settings.h"
#include "data/file_table.h"
#include "demo/frame_schedule.h"
#include "demo/precalc.h"
#include "platform/platform.h"
#include "window/debug_window.h"
#include "window/window.h"

namespace {

void open_console() {
    platform::console_allocate();
    if (settings.window_caption) platform::console_set_title(settings.window_caption);
    print_settings();
}

void present(const LiveDemo& live) {
    platform::swap_buffers(window_state.main_dc);
    if (settings.debug_timeline) timeline_show(live.timeline);
}

// The frame at the clock's next tick, taking the HDR level the viewer asked
// for.
FrameView render_frame(LiveDemo& live) {
    DemoClock& clock = live.play.clock;
    FrameInput input = frame_input_now(clock, clock_tick(clock));
    input.hdr_level = live.play.hdr_level_request;
    live.play.hdr_level_request.reset();
    FrameView drawn = frame_render(live.state, input, live.scratch);
    if (settings.debug_timeline) timeline_draw(live.timeline, drawn.time, clock_length(clock));
    present(live);
    return drawn;
}

// The frame held changes only when something happens: it is drawn again
// then, and the loop sleeps until the next message.
constexpr int until_a_message = -1;

void render_held(LiveDemo& live, const TimelineHold& hold) {
    hold.draw(live);
    present(live);
    platform::wait_message(until_a_message);
}

// Nobody sees the window: no frame is drawn. The clock goes on (and the
// end of the track is noted when it comes), the loop sleeps until a message
// or the next tick, and the first frame after it is drawn at the time then.
constexpr int hidden_tick_ms = 100;

void wait_unseen(LiveDemo& live) {
    DemoClock& clock = live.play.clock;
    track_end_note(live.state, frame_input_now(clock, clock_tick(clock)));
    platform::wait_message(hidden_tick_ms);
}

void main_loop(LiveDemo& live) {
    TimelineHold hold;
    FrameView last_drawn{};
    while (pump_messages()) {
        bool held = hold.follow(live, last_drawn);
        bool shown = platform::window_shown(window_state.main_window);
        if (held && shown)
            render_held(live, hold);
        else if (held)
            platform::wait_message(hidden_tick_ms);
        else if (shown)
            last_drawn = render_frame(live);
        else
            wait_unseen(live);
    }
}

// The demo as a viewer sees it, with the music when it plays, until the
// viewer quits.
void play(LiveDemo& live, const char* soundtrack) {
    DemoClock& clock = live.play.clock;
    if (soundtrack_init(clock, soundtrack, window_state.main_window) != soundtrack_ok) log_print("bass bork?\n");
    frame_state_reset(live.state);
    window_state.play = &live.play;
    clock_start(clock, 0.0f);
    main_loop(live);
}

// The windows go, then the music (when the demo played), then the archive.
void shut_down(LiveDemo* live) {
    window_destroy();
    if (live) {
        window_state.play = nullptr;
        clock_stop(live->play.clock);
        clock_free(live->play.clock);
    }
    blob_close();
}

const char soundtrack_path[] = "pool/quorvane_28_juli.ogg";

// Checks what can be checked before anything starts: 0 to go on, else the
// exit code. Output that cannot be written fails here, before minutes of
// rendering.
int check_request(const CaptureRequest& request) {
    if (!request.video.empty() && !encoder_process_supported()) {
        capture_message("heden: %s\n", encoder_process_unsupported);
        return 1;
    }
    if (!request.video.empty() && !file_can_create(request.video)) return 1;
    for (const StillRequest& still : request.stills)
        if (!file_can_create(still.path)) return 1;
    return 0;
}

}  // namespace

bool pump_messages() {
    platform::Message msg;
    while (platform::peek_message(&msg)) {
        if (msg.message == platform::msg_quit) return false;
        platform::translate_message(msg);
        platform::dispatch_message(msg);
    }
    return true;
}

int demo_main(int argc, char** argv) {
    CaptureRequest request;
    switch (options_parse(argc, argv, &request)) {
        case OptionsResult::help: return 0;
        case OptionsResult::bad: return 2;
        case OptionsResult::join:
            if (int code = check_request(request)) return code;
            return segments_join(request.video, request.joined) ? 0 : 1;
        case OptionsResult::run: break;
    }
    if (int code = check_request(request)) return code;
    if (request.check_only) return 0;
    std::string gl_problem;
    if (request.gl_es && !platform::select_gl(platform::GlKind::es, &gl_problem)) {
        capture_message("heden: --gl es: %s\n", gl_problem.c_str());
        return 1;
    }
    error_boxes_to_stderr(request.active());
    config_load("config.xml");
    // A capture draws into a window and leaves the display mode alone, and
    // never waits for the screen.
    if (request.active()) {
        settings.fullscreen = 0;
        window_state.unattended = true;
        window_state.swap_interval = 0;
        std::string clamped = window_clamp_note();
        if (!clamped.empty()) capture_message("heden: %s\n", clamped.c_str());
    }
    if (settings.debug_console) open_console();
    blob_open();
    if (window_setup(1) != 0) {
        // Not a success, whatever else the program says: scripts and
        // launchers see the failure in the exit code.
        log_print("fatal errors.. exit app now \n");
        error_box("su tentativa de programa ninja cojo es una falta completa!");
        blob_close();
        // The plain cause last, where a reader of only the end finds it.
        std::string cause = platform::display_problem();
        if (!cause.empty()) capture_message("heden: %s\n", cause.c_str());
        return 1;
    }
    precalc();
    int code = 0;
    std::unique_ptr<LiveDemo> live;
    if (request.active()) {
        code = capture_run(request, soundtrack_path);
    } else {
        live = std::make_unique<LiveDemo>();
        play(*live, soundtrack_path);
    }
    shut_down(live.get());
    return code;
}
