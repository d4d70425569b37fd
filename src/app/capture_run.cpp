#include "app/capture_run.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

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
#include "demo/frame_schedule.h"
#include "gl/glext.h"
#include "platform/platform.h"
#include "window/debug_window.h"
#include "window/window.h"

namespace {

// Handles what is waiting in the queue; false once the viewer quit.
bool pump_messages() {
    platform::Message msg;
    while (platform::peek_message(&msg)) {
        if (msg.message == platform::msg_quit) return false;
        platform::translate_message(msg);
        platform::dispatch_message(msg);
    }
    return true;
}

// Live, the closing scene counts from the first frame after the music
// ended. A capture that starts later renders one unseen frame at the end of
// the music first, so its closing scene is as far along as it would be live.
void render_track_end(const CapturePlan& plan, double music_length) {
    if (plan.start <= music_length) return;
    clock_install_frame(music_length, plan.fps, music_length);
    ClockOps.clock_start(static_cast<float>(music_length));
    ClockOps.clock_tick();
    frame_render();
}

struct Outputs {
    const CaptureRequest& request;
    const CapturePlan& plan;
    VideoEncoder encoder;
    AreaRect area = readback_area_rect();
    std::vector<std::uint8_t> rgb;
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

// One frame as the main loop draws it, read back before the swap.
bool capture_frame(Outputs& out, long long frame, CaptureProgress& progress) {
    progress.mark(CaptureStage::render);
    ClockOps.clock_tick();
    frame_render();
    glFinish();
    bool in_video = frame < out.plan.video_frames;
    bool still = wants_still(out, frame);
    if (in_video || still) {
        progress.mark(CaptureStage::readback);
        readback_area(out.area, out.rgb);
    }
    progress.mark(CaptureStage::encode);
    if (still && !write_stills(out, frame)) return false;
    if (in_video && !out.encoder.write_frame(out.rgb)) return false;
    progress.mark(CaptureStage::render);
    platform::swap_buffers(main_dc);
    if (debug_timeline) timeline_show();
    progress.frame_done();
    return true;
}

bool render_all(Outputs& out) {
    CaptureProgress progress(out.plan.render_frames);
    for (long long frame = 0; frame < out.plan.render_frames; ++frame) {
        if (!pump_messages()) {
            capture_message("\nheden: capture stopped by the viewer at frame %lld of %lld\n", frame,
                            out.plan.render_frames);
            return false;
        }
        if (capture_interrupted()) {
            capture_message("\nheden: capture interrupted at frame %lld of %lld\n", frame,
                            out.plan.render_frames);
            return false;
        }
        if (!capture_frame(out, frame, progress)) return false;
    }
    progress.mark(CaptureStage::encode);
    bool finished = out.plan.video_frames == 0 || out.encoder.finish();
    progress.finish();
    return finished;
}

bool start_video(Outputs& out, CaptureMusic& music, const std::string& wav) {
    if (out.plan.video_frames == 0) return true;
    std::int64_t first = std::llround(out.plan.start * music.rate());
    std::int64_t count = std::llround(static_cast<double>(out.plan.video_frames) * music.rate() / out.plan.fps);
    if (!music.write_wav(wav, first, count)) return false;
    return out.encoder.open(out.request.video, out.area.width, out.area.height, out.plan.fps, wav);
}

}  // namespace

int capture_run(const CaptureRequest& request, const char* music_path) {
    // Shut-down stops and frees the clock whichever way this ends.
    clock_install_system();
    capture_interrupt_catch();
    FileData bytes{nullptr, 0};
    load_file(music_path, &bytes);
    auto owned = std::make_unique<CaptureMusic>();
    CaptureMusic& music = *owned;
    if (!music.open(bytes.data, static_cast<std::uint32_t>(bytes.size > 0 ? bytes.size : 0))) {
        capture_message("heden: the soundtrack `%s` could not be read; nothing captured\n", music_path);
        return 1;
    }
    CapturePlan plan;
    if (!capture_plan_make(request, music.length_seconds(), &plan)) return 2;
    render_track_end(plan, music.length_seconds());
    clock_install_frame(plan.start, plan.fps, music.length_seconds());
    ClockOps.clock_start(static_cast<float>(plan.start));
    Outputs out{request, plan, {}, readback_area_rect(), {}};
    std::string wav = request.video + ".wav.part";
    bool ok = start_video(out, music, wav) && render_all(out);
    if (!ok && plan.video_frames > 0) out.encoder.abandon();
    if (plan.video_frames > 0) std::remove(wav.c_str());
    if (ok && !request.video.empty()) capture_message("heden: wrote `%s`\n", request.video.c_str());
    return ok ? 0 : 1;
}
