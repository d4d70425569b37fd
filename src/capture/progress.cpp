#include "capture/progress.h"

#include "capture/file_out.h"

CaptureProgress::CaptureProgress(long long total) : total_(total), begun_(Clock::now()), drawn_(begun_) {}

double CaptureProgress::since(Clock::time_point t) const {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

void CaptureProgress::close_stage() {
    if (stage_ >= 0) stage_seconds_[stage_] += since(stage_begun_);
    stage_ = -1;
}

void CaptureProgress::mark(CaptureStage stage) {
    close_stage();
    stage_ = static_cast<int>(stage);
    stage_begun_ = Clock::now();
}

void CaptureProgress::frame_done() {
    close_stage();
    ++done_;
    // A few times a second is enough, and keeps a log readable.
    if (done_ == total_ || since(drawn_) >= 0.5) draw();
}

void CaptureProgress::draw() {
    drawn_ = Clock::now();
    double elapsed = since(begun_);
    double fps = elapsed > 0 ? done_ / elapsed : 0;
    long long left = fps > 0 ? static_cast<long long>((total_ - done_) / fps + 0.5) : 0;
    capture_message("\rheden: frame %lld/%lld  %.1f fps  %lld:%02lld left ", done_, total_, fps, left / 60, left % 60);
}

void CaptureProgress::finish() {
    close_stage();
    double elapsed = since(begun_);
    double per_frame = done_ > 0 ? 1000.0 / done_ : 0;
    capture_message("heden: %lld frames in %.1f s (%.1f fps); per frame: render %.1f ms, readback %.1f ms, encode %.1f ms\n",
                    done_, elapsed, elapsed > 0 ? done_ / elapsed : 0.0,
                    stage_seconds_[static_cast<int>(CaptureStage::render)] * per_frame,
                    stage_seconds_[static_cast<int>(CaptureStage::readback)] * per_frame,
                    stage_seconds_[static_cast<int>(CaptureStage::encode)] * per_frame);
}
