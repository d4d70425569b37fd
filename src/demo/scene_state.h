// What the scene scripts tell the renderer to draw: camera, one light,
// colours, the object list, the sky and the post-processing values. One
// process-wide set, written by the scripts and the frame, read by the
// renderer, the overlays and the composite, and kept from frame to frame.
#pragma once

#include "mesh/mesh.h"
#include "mesh/scene_object.h"
// hdr_level belongs to the scene state as well; it is defined with the window
// procedure, which sets it from the timeline window with a right click.
#include "window/window_proc.h"

constexpr int max_lights = 2;
constexpr int max_scene_objects = 33;

extern Vector3 camera_eye;
extern Vector3 camera_target;
extern double camera_roll;   // radians, about the view axis
extern double camera_pitch;  // worked out from eye and target by camera_turn_update
extern double camera_yaw;

extern int light_count;
extern Vector3 light_color[max_lights];
extern Vector3 light_position[max_lights];
extern double light_attenuation;
extern Vector3 ambient_color;

extern SceneObject* object_list[max_scene_objects];
extern int object_count;

extern int sky_slot;         // texture slot of the sky's front face
extern int background_mode;  // how the composite shows the base image
extern double ripple_phase;  // background mode 4
extern float grain_alpha;
