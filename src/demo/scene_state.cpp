#include "demo/scene_state.h"

Vector3 camera_eye = {0, 0, 0};
Vector3 camera_target = {0, 0, 0};
double camera_roll = 3.141592653589;
double camera_pitch = 0;
double camera_yaw = 0;

int light_count = 2;
Vector3 light_color[max_lights] = {};
Vector3 light_position[max_lights] = {};
double light_attenuation = 0.5;
Vector3 ambient_color = {0, 0, 0};

SceneObject* object_list[max_scene_objects] = {};
int object_count = 0;

int sky_slot = 0;
int background_mode = 0;
double ripple_phase = 0;
float grain_alpha = 0;
