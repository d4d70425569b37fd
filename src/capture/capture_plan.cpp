#include "capture/capture_plan.h"

#include <cmath>

#include "capture/file_out.h"
#include "clock/clock.h"

long long plan_frame_count(double start, double end, int fps) {
    double frames = std::ceil((end - start) * fps - grid_slack);
    return frames > 0 ? static_cast<long long>(frames) : 0;
}

long long plan_frame_at(double start, int fps, double seconds) {
    return frame_at(seconds - start, fps);
}

namespace {

// Narrows the frames from first_frame to `end_frame` to the request's
// segment: frame first + total x k / n begins segment k.
bool cut_segment(const CaptureRequest& request, CapturePlan* plan, long long* end_frame) {
    long long first = plan->first_frame, total = *end_frame - first;
    if (total < request.segments) {
        capture_message("heden: --segment %d/%d: the capture has only %lld frames\n", request.segment,
                        request.segments, total);
        return false;
    }
    plan->first_frame = first + total * request.segment / request.segments;
    *end_frame = first + total * (request.segment + 1) / request.segments;
    return true;
}

}  // namespace

bool capture_plan_make(const CaptureRequest& request, double music_length, CapturePlan* plan) {
    plan->start = request.start;
    plan->fps = request.fps;
    plan->end = request.has_end ? request.end : music_length + closing_seconds;
    plan->first_frame = plan_frame_count(0.0, plan->start, plan->fps);
    long long end_frame = plan_frame_count(0.0, plan->end, plan->fps);
    if (end_frame - plan->first_frame < 1) {
        capture_message("heden: nothing to capture: --start %g is not before the end (%g s)\n", plan->start, plan->end);
        return false;
    }
    if (request.segments > 0 && !cut_segment(request, plan, &end_frame)) return false;
    plan->video_frames = request.video.empty() ? 0 : end_frame - plan->first_frame;
    plan->render_frames = request.video.empty() ? 0 : end_frame;
    plan->still_frames.clear();
    for (const StillRequest& still : request.stills) {
        long long frame = plan_frame_at(0.0, plan->fps, still.seconds);
        if (still.seconds < plan->start || still.seconds >= plan->end || frame >= end_frame) {
            capture_message("heden: --still %g is outside the capture, %g s to %g s\n", still.seconds, plan->start,
                            plan->end);
            return false;
        }
        plan->still_frames.push_back(frame);
        if (frame + 1 > plan->render_frames) plan->render_frames = frame + 1;
    }
    return true;
}
