#include "demo/frame_state.h"

#include "demo/random.h"

void frame_state_reset(FrameState& state) {
    state = FrameState{};
    for (int i = 0; i < posed_object_count; ++i) state.scene.poses[i] = rest_pose(posed_object(i));
    state.rand_state = rand_state;
}
