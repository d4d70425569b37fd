#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "config/settings.h"
#include "demo/frame_replay.h"
#include "demo/frame_schedule.h"
#include "demo/frame_state.h"
#include "demo/random.h"
#include "fake_platform.h"

namespace {

// The process clock the frames see: it runs on across the tests' runs and
// is never reset, as the real one is not.
long now_ms = 0;

// Every value of the record, the object list as addresses and the end of
// the track as the closing scene's time since it.
std::vector<double> dump(const FrameState& state) {
    const SceneState& s = state.scene;
    std::vector<double> d;
    auto add = [&d](const Vector3& v) { d.insert(d.end(), {v.x, v.y, v.z}); };
    add(s.camera_eye);
    add(s.camera_target);
    d.insert(d.end(), {s.camera_roll, s.camera_pitch, s.camera_yaw, double(s.light_count)});
    for (int k = 0; k < max_lights; ++k) add(s.light_color[k]), add(s.light_position[k]);
    d.push_back(s.light_attenuation);
    add(s.ambient_color);
    for (const SceneObject* object : s.object_list) d.push_back(double(reinterpret_cast<std::uintptr_t>(object)));
    d.push_back(s.object_count);
    for (const Pose& p : s.poses) d.insert(d.end(), {p.x, p.y, p.z, p.yaw, p.pitch, p.roll});
    d.insert(d.end(), {double(s.sky_slot), double(s.background_mode), s.ripple_phase, s.grain_alpha, s.hdr_level,
                       double(state.rand_state)});
    d.push_back(state.track_end_clock < 0 ? -1.0 : double(now_ms - state.track_end_clock));
    return d;
}

// Frames at 30 a second from `from` to `to` seconds, as a capture runs them;
// the track ends at `track_end` seconds.
constexpr double track_end = 146;
void run(FrameState& state, double from, double to) {
    for (double time = from; time <= to; time += 1.0 / 30) {
        now_ms += 33;
        frame_update(state, FrameInput{static_cast<float>(time), time >= track_end, now_ms, std::nullopt,
                                       AreaSize{settings.area_width, settings.area_height}});
    }
}

class FrameStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings_defaults();
        // Start-up puts every object somewhere of its own and leaves the
        // sequence somewhere.
        for (int i = 0; i < posed_object_count; ++i) {
            SceneObject& object = const_cast<SceneObject&>(posed_object(i));
            object.x = i, object.y = -i, object.z = 2 * i;
            object.yaw = 0.1 * i, object.pitch = 0.2 * i, object.roll = 0.3 * i;
        }
        rand_state = 12345;
    }

    // A fresh run to `b`, against: a run to `a`, a reset, a run to `b`.
    void expect_reset_forgets(double a, double b) {
        FrameState state;
        frame_state_reset(state);
        run(state, 0, b);
        const std::vector<double> fresh = dump(state);
        frame_state_reset(state);
        run(state, 0, a);
        EXPECT_NE(dump(state), fresh) << a << " and " << b << " tell nothing apart";
        frame_state_reset(state);
        run(state, 0, b);
        EXPECT_EQ(dump(state), fresh) << "after " << a << ", to " << b;
    }
};

// Whatever an update writes lives in the record: nothing of an earlier run
// reaches a run after a reset, neither the poses (the canyon tilted from
// 126 s on), nor the random sequence, nor the closing scene's clock.
TEST_F(FrameStateTest, AResetRunEqualsAFreshRun) {
    expect_reset_forgets(30, 100);    // before
    expect_reset_forgets(130, 25);    // after, across the tilt of the canyon
    expect_reset_forgets(138, 149);   // from the closing stretch past the end of the track
    expect_reset_forgets(149.5, 139); // from the closing scene back into the closing stretch
    expect_reset_forgets(149, 149.5); // the closing scene's clock starts again
}

// A copy is a place to go back to: the run continued from it goes where the
// original went.
TEST_F(FrameStateTest, ACopyContinuesAsTheOriginal) {
    FrameState state;
    frame_state_reset(state);
    run(state, 0, 60);
    FrameState saved = state;
    run(state, 60, 148);
    std::vector<double> ahead = dump(state);
    state = saved;
    run(state, 60, 148);
    EXPECT_EQ(dump(state), ahead);
}

// The paused timeline's frames: a frame reached on from an earlier one, or
// back from a later one, is the frame a fresh run from 0 reaches, past the
// end of the track too.
TEST_F(FrameStateTest, AReplayReachesAFrameAsAFreshRunDoes) {
    auto fresh = [](long long frame) {
        FrameState state;
        FrameReplay(60, track_end).seek(state, frame);
        return dump(state);
    };
    FrameState state;
    FrameReplay replay(60, track_end);
    for (long long frame : {3000LL, 7900LL, 8800LL, 1200LL, 1201LL, 8770LL, 8770LL}) {
        replay.seek(state, frame);
        EXPECT_EQ(dump(state), fresh(frame)) << "frame " << frame;
    }
}

}  // namespace
