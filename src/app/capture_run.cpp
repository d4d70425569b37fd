#include "app/capture_run.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/demo_main.h"
#include "app/unattended.h"
#include "capture/file_out.h"
#include "capture/interrupt.h"
#include "capture/music.h"
#include "capture/png_write.h"
#include "capture/progress.h"
#include "capture/readback.h"
#include "capture/video_encoder.h"
#include "clock/clock.h"
#include "config/settings.h"
#include "data/file_table.h"
#include "demo/frame_replay.h"
#include "demo/frame_schedule.h"
#include "gl/glext.h"
#include "platform/platform.h"
#include "window/debug_window.h"
#include "window/window.h"

namespace {

struct Outputs {
    const CaptureRequest& request;
    const CapturePlan& plan;
    VideoEncoder encoder;
    AreaRect area = readback_area_rect();
    std::vector<std::uint8_t> rgb;
    DrawScratch scratch;
    FrameState state;
    std::unique_ptr<TimelinePicture> timeline = std::make_unique<TimelinePicture>();
};

bool wants_still(const Outputs& out, long long frame) {
    for (long long f : out.plan.still_frames)
        if (f == frame) return true;
    return false;
}

bool write_stills(const Outputs& out, long long frame) {
    for (std::size_t i = 0; i < out.plan.still_frames.size(); ++i) {
        if (out.plan.still_frames[i] != frame) continue;
        if (!png_write_rgb(out.request.stills[i].path.c_str(), out.area.width, out.area.height, out.rgb)) return false;
    }
    return true;
}

bool in_video(const Outputs& out, long long frame) {
    return frame >= out.plan.first_frame && frame < out.plan.first_frame + out.plan.video_frames;
}

bool drawn(const Outputs& out, long long frame) { return in_video(out, frame) || wants_still(out, frame); }

long long drawn_count(const Outputs& out) {
    long long count = 0;
    for (long long frame = 0; frame < out.plan.render_frames; ++frame) count += drawn(out, frame) ? 1 : 0;
    return count;
}

// A frame whose state is worked out, drawn as the main loop draws it and
// read back. Nothing is ever shown, so there is no swap: the picture is
// read from the back buffer once the drawing has finished.
bool capture_frame(Outputs& out, long long frame, const FrameView& view, CaptureProgress& progress) {
    progress.mark(CaptureStage::render);
    frame_draw(out.state, view, out.scratch);
    // A capture runs on no clock of the viewer's: its timeline spans the
    // configured length, as the system clock's does.
    if (settings.debug_timeline) timeline_draw(*out.timeline, view.time, settings.demo_length);
    glFinish();
    progress.mark(CaptureStage::readback);
    readback_area(out.area, out.rgb);
    progress.mark(CaptureStage::encode);
    if (wants_still(out, frame) && !write_stills(out, frame)) return false;
    if (in_video(out, frame) && !out.encoder.write_frame(out.rgb)) return false;
    if (settings.debug_timeline) timeline_show(*out.timeline);
    progress.frame_done();
    return true;
}

// Between drawn frames only the state moves on, a fraction of a
// millisecond a frame; the viewer is still heard now and then.
constexpr long long frames_between_checks = 256;

// Frames are counted as the progress line counts them: those written.
bool still_wanted(const CaptureProgress& progress) {
    if (!pump_messages()) {
        capture_message("heden: capture stopped by the viewer at frame %lld of %lld\n", progress.done(),
                        progress.total());
        return false;
    }
    if (capture_interrupted()) {
        capture_message("heden: capture interrupted at frame %lld of %lld\n", progress.done(), progress.total());
        return false;
    }
    return true;
}

// Every frame from 0 on is worked out in order, which takes the shared
// random sequence and the closing scene's clock exactly where a capture
// from 0 has them; only the frames written out are drawn.
bool render_all(Outputs& out, FrameReplay& replay) {
    CaptureProgress progress(drawn_count(out));
    replay.start(out.state);
    for (long long frame = 0; frame < out.plan.render_frames; ++frame) {
        bool draw = drawn(out, frame);
        if ((draw || frame % frames_between_checks == 0) && !still_wanted(progress)) return false;
        FrameView view = replay.next(out.state);
        if (draw && !capture_frame(out, frame, view, progress)) return false;
    }
    progress.mark(CaptureStage::encode);
    int code = out.plan.video_frames == 0 ? 0 : out.encoder.finish_encoding();
    // The summary before the verdict: a file that could not be given its
    // name is the last thing said.
    progress.finish();
    return out.plan.video_frames == 0 || out.encoder.commit(code);
}

bool start_video(Outputs& out, CaptureMusic& music, const std::string& wav) {
    if (out.plan.video_frames == 0) return true;
    // The sound of frames first to end: pieces of one capture cut at frame
    // boundaries join into the sound of the whole, sample for sample.
    auto sample_at = [&](long long frame) { return std::llround(static_cast<double>(frame) * music.rate() / out.plan.fps); };
    std::int64_t first = sample_at(out.plan.first_frame);
    std::int64_t count = sample_at(out.plan.first_frame + out.plan.video_frames) - first;
    if (!music.write_wav(wav, first, count)) return false;
    return out.encoder.open(out.area.width, out.area.height, out.plan.fps, wav);
}

// What a capture has open while it runs, for taking it away when the
// display goes from under it.
struct Partial {
    Outputs* out = nullptr;
    std::string wav;
};
Partial partial;

void display_went_away() {
    if (partial.out && partial.out->plan.video_frames > 0) partial.out->encoder.abandon();
    if (!partial.wav.empty()) std::remove(partial.wav.c_str());
    capture_message("heden: the display went away\n");
}

}  // namespace

int capture_run(const CaptureRequest& request, const char* music_path) {
    capture_interrupt_catch();
    FileData bytes{nullptr, 0};
    load_file(music_path, &bytes);
    // Everything is loaded: whatever would make the pictures differ from
    // the demo's has shown itself by now, before the first frame.
    if (!unattended_picture_ok()) return 1;
    auto owned = std::make_unique<CaptureMusic>();
    CaptureMusic& music = *owned;
    if (!music.open(bytes.data, static_cast<std::uint32_t>(bytes.size > 0 ? bytes.size : 0))) {
        capture_message("heden: the soundtrack `%s` could not be read; nothing captured\n", music_path);
        return 1;
    }
    CapturePlan plan;
    if (!capture_plan_make(request, music.length_seconds(), &plan)) return 2;
    Outputs out{request, plan, VideoEncoder(request.video), readback_area_rect(), {}, {}, {}};
    std::string wav = plan.video_frames > 0 ? file_part_name(request.video, ".wav") : "";
    partial = Partial{&out, wav};
    platform::on_display_lost(display_went_away);
    FrameReplay replay(plan.fps, music.length_seconds());
    bool ok = start_video(out, music, wav) && render_all(out, replay);
    platform::on_display_lost(nullptr);
    partial = Partial{};
    if (!ok && plan.video_frames > 0) out.encoder.abandon();
    if (plan.video_frames > 0) std::remove(wav.c_str());
    if (ok && !request.video.empty()) capture_message("heden: wrote `%s`\n", request.video.c_str());
    return ok ? 0 : 1;
}
