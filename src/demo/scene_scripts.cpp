#include "demo/scene_scripts.h"
#include "demo/scene_state.h"
#include "mesh/global_meshes.h"
#include <cmath>
void scene_dispatch(double beat) {
    light_count = 1; sky_slot = 1; object_count = 3;
    object_list[0] = &tekstObjects[0]; object_list[1] = &columnObjects[0]; object_list[2] = &columnObjects[1];
    tekstObjects[0].x = 0; tekstObjects[0].y = 0; tekstObjects[0].z = 0;
    camera_eye = {25 * std::sin(beat * 0.05), 8, -25 * std::cos(beat*0.05)}; camera_target = {0, 0, 0};
    light_position[0] = {10, 30, -10}; light_color[0] = {0.8, 0.7, 0.6}; ambient_color = {0.2, 0.2, 0.25};
    light_attenuation = 0.9; hdr_level = 0.3f; background_mode = 0; grain_alpha = 0.1f;
}
void end_scene(double) {}
