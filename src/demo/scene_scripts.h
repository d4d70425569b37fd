// The choreography: one script per stretch of the music. Each script is a
// pure function of its time argument that writes the scene state it is
// handed (the poses of the objects it shows included) for one frame; what a
// script does not write keeps whatever the last script left there. Only
// scene_title (from beat 4 on) and scene_basket draw from the shared random
// sequence, standing at `sequence`, one number per call each.
#pragma once

#include <cstdint>

#include "demo/frame_state.h"
#include "demo/scene_state.h"

// x: the beat, 0 to 48. Arguments below 0 show the first frame.
void scene_title(SceneState& scene, std::uint32_t& sequence, float x);
// x: the beat, twice or four times the beat; the camera cuts on every whole x.
void scene_canyon(SceneState& scene, double x);
// x: the beat or twice the beat.
void scene_basket(SceneState& scene, std::uint32_t& sequence, double x);
// a: beats since the tunnel started, 0 to 64.
void scene_tunnel(SceneState& scene, double a);
// x: beats since the poles started, 0 to 64.
void scene_poles(SceneState& scene, double x);
// a: beats since the backward flight started, 0 to 64.
void scene_tunnel_back(SceneState& scene, double a);
// a: beats since the view from above started, 0 to 16.
void scene_canyon_top(SceneState& scene, double a);
// t: seconds since the soundtrack ended. Logs t on every call.
void end_scene(SceneState& scene, double t);

// Runs the script of the stretch of the schedule (clock/schedule.h) that
// owns `beat` with the argument it takes there, the closing stretch or the
// state after the music, on the frame's scene and sequence. Beats of 0 and
// below, and NaN, count as 0.
void scene_dispatch(FrameState& frame, double beat);
