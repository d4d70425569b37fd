// Turning the scene state into pixels in the current render target: the
// camera, the sky box, and the objects lit by the light with stencil shadow
// volumes.
#pragma once

#include "demo/draw_scratch.h"
#include "demo/scene_state.h"
#include "mesh/mesh.h"
#include "mesh/scene_object.h"

constexpr double degrees_per_radian = 57.29577951309679;

// camera_pitch and camera_yaw of the camera looking from camera_eye at
// camera_target: part of the frame's state, worked out once by the update;
// the camera, the sky and the billboards turn by them.
void camera_turn_update(SceneState& scene);
// Multiplies the current matrix by the scene's camera at camera_eye, turned
// by camera_pitch and camera_yaw and rolled by camera_roll.
void look_at(const SceneState& scene);
// The same turn without moving to the eye: for the sky.
void look_rotate(const SceneState& scene);

// Binds the texture of a texture table slot (none for a slot out of range).
void bind_slot(int slot);

// Depth test (less) on, stencil off, back faces culled, blending and
// lighting off, texturing on: where every scene pass starts.
void opaque_draw_state();

// Translate to the pose's position, then yaw about y, pitch about x and
// roll about z.
void object_transform(const Pose& pose);

// The six faces from the scene's sky_slot on (front, back, left, right, up,
// down) around the eye, without writing depth.
void sky_draw(const SceneState& scene);

// Every listed object: an unlit base pass in the ambient colour, then per
// light the shadow volumes counted into the stencil buffer (depth fail) and
// an additive lit pass where the stencil count is 0. Expects GL_LIGHT1
// enabled and an identity model-view matrix. The shadow volumes are built
// in `scratch`.
void scene_draw(const SceneState& scene, DrawScratch& scratch);
