// What the scene scripts tell the renderer to draw: camera, one light,
// colours, the object list, the sky and the post-processing values. One
// record for the run, written by the scripts and the frame, read by the
// renderer, the overlays and the composite, and kept from frame to frame.
#pragma once

#include "mesh/mesh.h"
#include "mesh/scene_object.h"

constexpr int max_lights = 2;
constexpr int max_scene_objects = 33;

struct SceneState {
    Vector3 camera_eye = {0, 0, 0};
    Vector3 camera_target = {0, 0, 0};
    double camera_roll = 3.141592653589;  // radians, about the view axis
    double camera_pitch = 0;  // worked out from eye and target by camera_turn_update
    double camera_yaw = 0;

    int light_count = 2;
    Vector3 light_color[max_lights] = {};
    Vector3 light_position[max_lights] = {};
    double light_attenuation = 0.5;
    Vector3 ambient_color = {0, 0, 0};

    SceneObject* object_list[max_scene_objects] = {};
    int object_count = 0;

    int sky_slot = 0;         // texture slot of the sky's front face
    int background_mode = 0;  // how the composite shows the base image
    double ripple_phase = 0;  // background mode 4
    float grain_alpha = 0;
    float hdr_level = 0.0f;   // lowers the HDR cut; a right click on the timeline sets it too
};

// The scene state of the run.
extern SceneState scene_state;
