// What the scene scripts tell the renderer to draw: camera, one light,
// colours, the object list with the objects' poses, the sky and the
// post-processing values. Written by the scripts and the frame's update,
// read by the renderer, the overlays and the composite, and kept from frame
// to frame as part of the frame's state (demo/frame_state.h).
#pragma once

#include "mesh/mesh.h"
#include "mesh/scene_object.h"

constexpr int max_lights = 2;
constexpr int max_scene_objects = 33;

// Where an object stands: position, then yaw about y, pitch about x and roll
// about z, in radians.
struct Pose {
    double x, y, z;
    double yaw, pitch, roll;
};

// Every scene object of mesh/global_meshes.h has a pose slot, in the order
// that header lists them.
constexpr int posed_object_count = 63;

// How the composite shows the base image.
enum BackgroundMode : int {
    background_plain = 0,   // the base image over the whole view
    background_black = 1,   // none: the window cleared to black
    background_facets = 2,  // 5 x 8 cells, each zoomed in less and less through the beat
    background_tinted = 3,  // 5 x 8 cells tinted in colours that run with the beat
    background_ripple = 4,  // rippled out from the middle by ripple_phase
};

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

    // Objects built at start-up, which only start-up writes; the scripts
    // move them through `poses`.
    const SceneObject* object_list[max_scene_objects] = {};
    int object_count = 0;
    Pose poses[posed_object_count] = {};

    int sky_slot = 0;         // texture slot of the sky's front face
    int background_mode = background_plain;  // a BackgroundMode; others draw nothing
    double ripple_phase = 0;                 // for background_ripple
    float grain_alpha = 0;
    float hdr_level = 0.0f;   // lowers the HDR cut; a right click on the timeline sets it too
};

// The pose slot of an object of mesh/global_meshes.h; -1 for any other.
int pose_index(const SceneObject& object);
// The object a pose slot belongs to.
const SceneObject& posed_object(int index);
// Where start-up put an object.
Pose rest_pose(const SceneObject& object);
// Where the state has an object: its slot, or its rest pose when it has none.
Pose object_pose(const SceneState& scene, const SceneObject& object);
// The slot of an object of mesh/global_meshes.h, to move it.
Pose& pose_slot(SceneState& scene, const SceneObject& object);
