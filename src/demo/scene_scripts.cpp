#include "demo/scene_scripts.h"

#include <cmath>
#include <initializer_list>

#include "clock/schedule.h"
#include "demo/frame_state.h"
#include "demo/random.h"
#include "demo/scene_state.h"
#include "demo/texture_slots.h"
#include "log/log.h"
#include "mesh/global_meshes.h"

namespace {

double frac(double v) { return v - std::trunc(v); }

// trunc(v) mod n for indexing a table of n entries. Negative arguments wrap
// round like positive ones, and NaN or infinity give 0, so no argument can
// read outside the table.
int table_index(double v, int n) {
    double m = std::fmod(std::trunc(v), n);
    if (std::isnan(m)) return 0;
    if (m < 0) m += n;
    return static_cast<int>(m);
}

bool is_odd(double v) { return std::fmod(std::trunc(v), 2.0) != 0; }

void show_objects(SceneState& scene, std::initializer_list<const SceneObject*> objects) {
    int n = 0;
    for (const SceneObject* object : objects) scene.object_list[n++] = object;
    scene.object_count = n;
}

void place(SceneState& scene, const SceneObject& object, double x, double y, double z) {
    Pose& pose = pose_slot(scene, object);
    pose.x = x;
    pose.y = y;
    pose.z = z;
}

// Every script lights its scene with light 0 alone.
void light_scene(SceneState& scene, const Vector3& ambient, const Vector3& color, const Vector3& position) {
    scene.light_count = 1;
    scene.ambient_color = ambient;
    scene.light_color[0] = color;
    scene.light_position[0] = position;
}

// --- title -----------------------------------------------------------------

// Beats 0 to 4: the two halves of the text fall in from above and meet.
void title_fall(SceneState& scene, float x) {
    scene.background_mode = background_black;
    float u = 4 - x;
    scene.grain_alpha = 0.25 * u;
    double side = 18 * std::sin(1.57075 * x);
    place(scene, tekstObjects[0], -side, 15 * u, 0);
    place(scene, tekstObjects[1], side, 15 * u, 0);
    scene.camera_eye = {0, 8 - x, -15};
    double ambient = 1 - 0.25 * x;
    scene.ambient_color = {ambient, ambient, ambient};
}

// Beats 4 to 8: one half turns in place while the other comes down again.
void title_turn(SceneState& scene, std::uint32_t& sequence, float x) {
    scene.grain_alpha = 0.01 * rand_range(sequence, 0, 10);
    place(scene, tekstObjects[0], 0, 0, 0);
    pose_slot(scene, tekstObjects[0]).yaw = (x - 4) * 1.57075;
    place(scene, tekstObjects[1], 0, 15 * (8 - x), 0);
    scene.camera_eye = {0, x - 12, -15};
    scene.light_color[0] = {x / 8.0, 0, 0};
}

// From beat 8: the halves shake apart sideways, less and less.
void title_shake(SceneState& scene, std::uint32_t& sequence, float x) {
    scene.grain_alpha = 0.01 * rand_range(sequence, 0, 20);
    double spread = 2 * std::sin(1.57075 * x) / (x - 7);
    place(scene, tekstObjects[0], -spread, 0, 0);
    place(scene, tekstObjects[1], spread, 0, 0);
    scene.camera_eye = {0, 24 - x, -15};
    double tint = 0.025 * (x - 8);
    scene.light_color[0] = {0.5 * std::sin(3.1415 * x) + 1, tint, tint};
}

// Grain gives way to light over 3.5 beats from `start`; returns the light.
double title_fade_in(SceneState& scene, float x, double start) {
    double c = (x - start) * 0.2857142857142857;
    scene.grain_alpha = 1 - c;
    return c;
}

void title_fades(SceneState& scene, float x) {
    if (x >= 16 && x < 20) scene.background_mode = background_facets;
    if (x >= 35.5 && x < 39) {
        double c = title_fade_in(scene, x, 35.5);
        scene.light_color[0] = {c, c, c};
    }
    if (x >= 39 && x < 42.5) {
        double c = title_fade_in(scene, x, 39);
        scene.ambient_color = {c, c, c};
    }
    if (x >= 44 && x < 48) {
        double d = x - 44;
        scene.camera_eye = {8 * d * d, 0, -15};
        scene.grain_alpha = 0.25 * d;
        scene.ambient_color = {0, 0, 0};
        scene.light_color[0] = {0, 0, 0};
    }
}

// The eye swings down from high above while the title starts and settles.
void title_swing(SceneState& scene, float x) {
    float swing = 16 / (x + 1);
    double th = swing;
    double y = scene.camera_eye.y;
    double z = scene.camera_eye.z;
    scene.camera_eye.y = y * std::cos(th) - z * std::sin(th);
    scene.camera_eye.z = z * std::cos(th) + y * std::sin(th);
}

// --- tunnel ----------------------------------------------------------------

// The forward and the backward flight share everything but the clock of the
// flight itself: `a` counts beats of the scene, `c` beats of the flight. The
// camera flies 87 units (one outer ring, three inner rings) every 2 beats of
// c and jumps back; the rings' rolls move on by one ring at the jump so that
// the jump does not show.
struct TunnelClock {
    double a;   // beats of the scene
    double c;   // beats of the flight
    double d;   // jumps so far: trunc(c / 2)
    double s;   // part of the current 87 units flown: c / 2 - d
    double fa;  // part of the current beat of the scene
};

TunnelClock tunnel_clock(double a, double c) {
    double d = std::trunc(c / 2);
    return {a, c, d, c / 2 - d, frac(a)};
}

void tunnel_camera(SceneState& scene, const TunnelClock& k) {
    light_scene(scene, {k.s, 0.5, 0.6f}, {0.4f, 0.5, 0.6f}, {30 * std::sin(k.a / 11), -20, 30 * std::cos(k.a / 13)});
    scene.light_attenuation = 0.9;
    scene.sky_slot = texture_slot::sky_2;
    scene.camera_roll = k.a / 2 + 0.3 * k.d;
    scene.camera_eye = {6 * std::sin(k.fa), 0, 87 * k.s};
    double look = std::sin(k.a) / 3;
    scene.camera_target = {18 * std::sin(look), 0, 18 * std::cos(look) + 87 * k.s};
}

void tunnel_post(SceneState& scene, const TunnelClock& k) {
    scene.hdr_level = k.a * (1 - k.fa) * 0.015625;
    scene.background_mode = background_plain;
    scene.grain_alpha = 0.5 - 0.25 * std::cos(6.283184 * k.fa);
    double h = frac(k.a * 0.125);
    if (h >= 0 && h < 0.25) {
        scene.background_mode = background_black;
    } else if (h >= 0.5 && h < 0.75) {
        scene.background_mode = background_ripple;
        scene.ripple_phase = k.a;
    }
    if (k.a < 2) scene.hdr_level = 1 - k.a / 2;
}

void tunnel_rings(SceneState& scene, const TunnelClock& k) {
    for (int i = 0; i < 8; ++i) {
        scene.object_list[i] = &tunnelInnerObjects[i];
        scene.object_list[8 + i] = &tunnelOuterObjects[i];
        pose_slot(scene, tunnelInnerObjects[i]).roll = 0.2 * k.c + 0.1 * (3 * k.d + i);
        pose_slot(scene, tunnelOuterObjects[i]).roll = k.c / 7 + 0.1 * (k.d + i);
    }
}

void tunnel_airships(SceneState& scene, const TunnelClock& k) {
    double back = 87 * k.d;
    for (int i = 0; i < 16; ++i) {
        scene.object_list[16 + i] = &airshipObjects[i];
        place(scene, airshipObjects[i], 64 * std::sin(13.9 * i), 64 * std::cos(13.9 * i),
              (std::sin(19.3 * i) + 1) * 15 * 87 - back);
    }
    // The two the camera meets at the end of the flight.
    place(scene, airshipObjects[0], 0, -20, 2618.7000000000003 - back);
    place(scene, airshipObjects[1], -20, 0, 2749.2000000000003 - back);
}

void tunnel_flight(SceneState& scene, double a, double c) {
    TunnelClock k = tunnel_clock(a, c);
    tunnel_camera(scene, k);
    tunnel_post(scene, k);
    tunnel_rings(scene, k);
    tunnel_airships(scene, k);
    scene.object_list[32] = &sphereObject;
    scene.object_count = 33;
    // Circling just ahead of the camera.
    place(scene, sphereObject, 32 * std::sin(a), 32 * std::cos(a), 30 * std::sin(a / 3) + 87 * k.s + 40);
}

// Two flashes at the end of the forward flight.
void tunnel_flash(SceneState& scene, double a, double start) {
    if (a < start) return;
    scene.grain_alpha = 0.2;
    scene.hdr_level = std::sin(a - start);
}

// --- closing ---------------------------------------------------------------

// No objects: the camera turns at the origin while the glow fades out.
void closing_stretch(SceneState& scene, double beat) {
    scene.object_count = 0;
    scene.background_mode = background_black;
    scene.grain_alpha = 1.0f;
    scene.hdr_level = 0.5f - (static_cast<float>(beat) - static_cast<float>(script_start(Script::closing))) * 0.025f;
    scene.camera_eye = {0, 0, 0};
    double turn = beat * 0.14285714285714285;
    scene.camera_target = {std::cos(turn), 0, std::sin(turn)};
}

void after_music(SceneState& scene) {
    scene.background_mode = background_black;
    scene.hdr_level = 0;
}

// Between beats 48 and 88 the canyon and the basket take turns every `span`
// beats, the basket on the odd turns.
void canyon_or_basket(FrameState& frame, double beat, int span, double x) {
    long long turn = static_cast<long long>(beat) / span;
    if (turn % 2 != 0) {
        scene_basket(frame.scene, frame.rand_state, x);
    } else {
        scene_canyon(frame.scene, x);
    }
}

// The script of the stretch that owns `beat`, before the closing stretch.
// The timeline shows a cut at beat 104, but the tunnel flies straight
// through it from its stretch's start.
void run_script(FrameState& frame, const Stretch& stretch, double beat) {
    SceneState& scene = frame.scene;
    double since = beat - stretch.start;
    switch (stretch.script) {
    case Script::title: return scene_title(scene, frame.rand_state, static_cast<float>(beat));
    case Script::canyon_or_basket: return canyon_or_basket(frame, beat, 4, beat);
    case Script::quick_turns: return canyon_or_basket(frame, beat, 2, beat * 2);
    case Script::canyon_strobe: return scene_canyon(scene, beat * 4);
    case Script::tunnel: return scene_tunnel(scene, since);
    case Script::poles: return scene_poles(scene, since);
    case Script::basket: return scene_basket(scene, frame.rand_state, beat);
    case Script::tunnel_back: return scene_tunnel_back(scene, since);
    case Script::canyon_top: return scene_canyon_top(scene, since);
    case Script::closing: return closing_stretch(scene, beat);
    case Script::after_music: return after_music(scene);
    }
}

}  // namespace

void scene_title(SceneState& scene, std::uint32_t& sequence, float x) {
    static const double pulse[8] = {0.5, 0, 0.75, 1.0, 0, 0, 0.1, 0};
    if (!(x >= 0)) x = 0;
    scene.background_mode = background_plain;
    // The column stays listed but outside the count.
    show_objects(scene, {&tekstObjects[0], &tekstObjects[1], &columnObjects[0]});
    scene.object_count = 2;
    scene.hdr_level = (1 - frac(x)) * pulse[table_index(x, 8)];
    light_scene(scene, {0, 0, 0}, {0, 0, 0}, {0, 8 * std::sin(0.3926875 * x), 40});
    if (x < 4) {
        title_fall(scene, x);
    } else if (x < 8) {
        title_turn(scene, sequence, x);
    } else {
        title_shake(scene, sequence, x);
    }
    title_fades(scene, x);
    scene.sky_slot = texture_slot::sky_2;
    scene.camera_target = {0, 0, 0};
    title_swing(scene, x);
}

void scene_canyon(SceneState& scene, double x) {
    static const int step[16] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 5, 5};
    static const int hit[16] = {1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0};
    light_scene(scene, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5},
                {30 * std::sin(x * 0.09090909090909091), -20, 30 * std::cos(x * 0.07692307692307693)});
    scene.sky_slot = texture_slot::sky_1;
    scene.light_attenuation = 0.9;
    double n = std::trunc(4 * x);
    double f = 4 * x - n;
    int i = table_index(n, 16);
    // A new angle on every whole x, small steps on the quarters.
    double angle = std::trunc(n / 4) * 13.3 + 0.2 * step[i];
    scene.camera_eye = {10 * std::sin(angle), 4.5 - 9 * std::sin(angle), 10 * std::cos(angle)};
    scene.camera_target = {3 * std::sin(x * 0.1111111111111111), f * hit[i] + 1, 0};
    scene.hdr_level = (1 - f) * hit[i] + 0.5;
    scene.grain_alpha = 0.125 * step[i];
    scene.background_mode = table_index(n / 2, 2) ? background_black : background_plain;
    show_objects(scene, {&canyonObject});
}

void scene_basket(SceneState& scene, std::uint32_t& sequence, double x) {
    double q = x * 0.25 - std::trunc(x * 0.25);
    scene.background_mode = is_odd(2 * x) ? background_tinted : background_plain;
    scene.hdr_level = 0.7 - 0.6 * frac(2 * x);
    scene.camera_roll = 3.14;
    scene.camera_target = {q, 0, 0};
    double b = 5 * q;
    scene.camera_eye = {15 * std::cos(b) + 2 * std::sin(b), 15 * std::sin(b) - 2 * std::cos(b),
                        35 - 25 * (1 + q) * (1 + q)};
    light_scene(scene, {0.4f, 0.2f, 0.1f}, {0.3f, 0.6f, 0.9f}, {0, 0, 40});
    scene.light_attenuation = 0.15;
    scene.grain_alpha = 0.01 * rand_range(sequence, 0, 20);
    scene.sky_slot = texture_slot::sky_0;
    show_objects(scene, {&basketObject, &wireObjects[0], &wireObjects[1], &wireObjects[2]});
    // The frames tumble; the largest only stands upright.
    pose_slot(scene, wireObjects[0]).yaw = x * 0.07692307692307693;
    pose_slot(scene, wireObjects[0]).pitch = x * 0.3333333333333333;
    pose_slot(scene, wireObjects[1]).yaw = x * 0.14285714285714285;
    pose_slot(scene, wireObjects[1]).pitch = x * 0.09090909090909091;
    pose_slot(scene, wireObjects[2]).pitch = 0;
}

void scene_tunnel(SceneState& scene, double a) {
    tunnel_flight(scene, a, a);
    tunnel_flash(scene, a, 58);
    tunnel_flash(scene, a, 61);
}

void scene_tunnel_back(SceneState& scene, double a) { tunnel_flight(scene, a, 64 - a); }

void scene_poles(SceneState& scene, double x) {
    static const int ripples[8] = {0, 0, 0, 1, 1, 1, 1, 1};
    light_scene(scene, {0.4f, 0.1f, 0.3f}, {0.5f, 0.3f, 0}, {30 * std::sin(x / 11), -40, 30 * std::cos(x / 13)});
    scene.sky_slot = texture_slot::sky_1;
    scene.grain_alpha = 0.35;
    scene.light_attenuation = 0.9;
    scene.hdr_level = 0.1 * std::cos(1.57075 * x) + 0.5;
    scene.camera_roll = 3.1;
    if (ripples[table_index(x, 8)]) {
        scene.ripple_phase = x;
        scene.background_mode = background_ripple;
    } else {
        scene.background_mode = background_black;
    }
    if (x >= 16) scene.ripple_phase = (1 - (x - 16) * 0.0625) * std::trunc(2 * x) + frac(2 * x);
    show_objects(scene, {&poleObjects[0], &poleObjects[1]});
    place(scene, poleObjects[0], 15, 0, 0);
    place(scene, poleObjects[1], -15, 0, 0);
    pose_slot(scene, poleObjects[1]).yaw = -x / 3;
    scene.camera_eye = {40 * std::sin(-x / 8), 10, 40 * std::cos(-x / 8)};
    scene.camera_target = {0, -9, 0};
}

void scene_canyon_top(SceneState& scene, double a) {
    light_scene(scene, {0.9f, 0.5, 0.5}, {0.2f, 0.5, 0.8f}, {30 * std::sin(a / 11), 30 * std::cos(a / 13) + 10, 8});
    scene.sky_slot = texture_slot::sky_0;
    scene.hdr_level = 0.2;
    scene.background_mode = background_plain;
    scene.camera_roll = 3.14;
    scene.camera_eye = {0.2, 20 - a, std::cos(a) + 3};
    scene.camera_target = {0, 0, 0};
    scene.light_attenuation = 0.9;
    if (a < 1) {
        scene.background_mode = background_black;
        scene.hdr_level = 1 - a;
    } else if (a < 4) {
        scene.hdr_level = 1 - (a - 1) / 3;
    } else if (a < 7) {
        scene.hdr_level = 1 - (a - 4) / 3;
    }
    show_objects(scene, {&canyonObject});
    // Stays tilted for any later scene_canyon.
    pose_slot(scene, canyonObject).pitch = -1.57075;
    scene.grain_alpha = 0.05625 * a + 0.1;
}

void end_scene(SceneState& scene, double t) {
    log_print("kill me %f \n", t);
    scene.light_count = 1;
    show_objects(scene, {&dolphinObject});
    scene.sky_slot = texture_slot::sky_0;
    scene.grain_alpha = 0;
    scene.background_mode = background_black;
    double b = 2.5 * std::sin(t * 0.058823529411764705) + 4;
    double alpha = 4 * std::sin(0.05 * t);
    scene.camera_eye = {b * std::sin(alpha), -1, b * std::cos(alpha)};
    scene.camera_target = {0, 0, 0};
    scene.ambient_color = {0, 0.2f, 0.1};
    scene.light_color[0] = {1.0, 0.4f, 0.3f};
    scene.light_attenuation = 0.9;
    scene.hdr_level = 0.5 * (1 - std::cos(t * 0.11764705882352941));
}

void scene_dispatch(FrameState& frame, double beat) {
    if (!(beat > 0)) beat = 0;
    run_script(frame, stretch_at(beat), beat);
}
