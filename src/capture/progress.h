// The progress line on the terminal while frames are made, and where the
// time went: rendering, reading back, encoding.
#pragma once

#include <chrono>

enum class CaptureStage { render, readback, encode, count };

class CaptureProgress {
public:
    explicit CaptureProgress(long long total);

    // Starts timing a stage; the next mark() or frame_done() closes it.
    void mark(CaptureStage stage);
    // One more frame finished; redraws the line now and then.
    void frame_done();
    // The last line: totals and the split per frame.
    void finish();
    // Frames finished, of the total.
    long long done() const { return done_; }
    long long total() const { return total_; }

private:
    using Clock = std::chrono::steady_clock;
    double since(Clock::time_point t) const;
    void close_stage();
    void draw();

    long long total_, done_ = 0;
    Clock::time_point begun_, drawn_, stage_begun_;
    int stage_ = -1;
    double stage_seconds_[static_cast<int>(CaptureStage::count)] = {};
};
