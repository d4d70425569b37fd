#include "demo/overlays.h"

#include <cmath>

#include "clock/schedule.h"
#include "demo/frame_view.h"
#include "demo/quads.h"
#include "demo/random.h"
#include "demo/scene_render.h"
#include "demo/scene_state.h"
#include "demo/target_image.h"
#include "demo/texture_slots.h"
#include "config/settings.h"
#include "gl/gl_defaults.h"

namespace {

constexpr int particle_count = 512;
constexpr float particle_half_size = 0.3f;

Vector3 particle_position(int i, double beat) {
    double x = 4 * (i % 8) - 15, y = 4 * ((i / 8) % 8) - 15, z = 4 * (i / 64) - 15;
    return {x + 17 * std::sin(beat * 0.09090909090909091 + 13.7 * i),
            y + 17 * std::sin(beat * 0.058823529411764705 + 17.3 * i),
            z + 17 * std::sin(beat * 0.1111111111111111 + 17.3 * i)};
}

// A particle's quad, in the plane through its position.
void billboard() {
    const float q = particle_half_size;
    quad_draw(-q, -q, q, q, 0, 0, 1, 1, 0);
}

// The 5 x 8 cells of background_facets and background_tinted, each zoomed in
// by k of its texture rectangle; the tinted ones in colour.
void grid(const FrameView& view, double k, bool tinted) {
    const float w = view.w, h = view.h;
    glBegin(GL_QUADS);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 8; ++j) {
            if (tinted) {
                double a = 0.05 * (i * i + j * j) + 4 * view.beat;
                glColor3d((std::sin(a) + 1) / 2, (std::sin(a + 2) + 1) / 2, (std::sin(a + 4) + 1) / 2);
            }
            screen_quad(static_cast<float>(w * (0.25 * j - 1)), static_cast<float>(h * (0.4 * i - 1)),
                        static_cast<float>(w * (0.25 * (j + 1) - 1)), static_cast<float>(h * (0.4 * (i + 1) - 1)),
                        static_cast<float>(0.125 * j + k), static_cast<float>(0.2 * i + k),
                        static_cast<float>(0.125 * (j + 1) - k), static_cast<float>(0.2 * (i + 1) - k));
        }
    glEnd();
}

struct RipplePoint {
    float x, y;
};

void ripple(const FrameView& view, double phase) {
    RipplePoint points[11][17];
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 16; ++j) {
            double e = 0.2 * (i - 5), x = 0.125 * (j - 8);
            double theta = std::atan2(e, x), r = std::sqrt(x * x + e * e);
            double pushed = r * (1 + (1 - std::cos(5 * r + 0.785 * phase)) * (std::cos(phase) + 1) * 0.1111111111111111);
            points[i][j] = {static_cast<float>(view.w * pushed * std::cos(theta)),
                            static_cast<float>(view.h * pushed * std::sin(theta))};
        }
    glBegin(GL_QUADS);
    for (int e = 0; e < 10; ++e)
        for (int g = 0; g < 16; ++g) {
            float s0 = 0.0625f * g, s1 = 0.0625f * (g + 1), t0 = 0.1f * e, t1 = 0.1f * (e + 1);
            quad_corner(s0, t0, points[e][g].x, points[e][g].y);
            quad_corner(s1, t0, points[e][g + 1].x, points[e][g + 1].y);
            quad_corner(s1, t1, points[e + 1][g + 1].x, points[e + 1][g + 1].y);
            quad_corner(s0, t1, points[e + 1][g].x, points[e + 1][g].y);
        }
    glEnd();
}

void background_shape(const FrameView& view, const SceneState& scene) {
    const float w = view.w, h = view.h;
    double k = 0.03 * (1 - (view.beat - std::trunc(view.beat)));
    switch (scene.background_mode) {
        case background_plain: full_screen_quad(w, h); break;
        case background_facets: grid(view, k, false); break;
        case background_tinted: grid(view, 0, true); break;
        case background_ripple: ripple(view, scene.ripple_phase); break;
        default: break;
    }
}

}  // namespace

void particles_draw(const SceneState& scene, double beat) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDepthFunc(GL_LESS);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glPushMatrix();
    look_at(scene);
    bind_slot(texture_slot::particle);
    for (int i = 0; i < particle_count; ++i) {
        Vector3 p = particle_position(i, beat);
        glPushMatrix();
        glTranslatef(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
        glRotatef(static_cast<float>(scene.camera_yaw * degrees_per_radian), 0, 1, 0);
        glRotatef(static_cast<float>(scene.camera_pitch * degrees_per_radian), 1, 0, 0);
        billboard();
        glPopMatrix();
    }
    glPopMatrix();
}

GrainJitter grain_jitter_next(std::uint32_t& sequence) {
    GrainJitter jitter{};
    jitter.dy = 0.01f * static_cast<float>(rand_range(sequence, 0, 10));
    jitter.dx = 0.01f * static_cast<float>(rand_range(sequence, 0, 10));
    jitter.degrees = static_cast<float>(rand_range(sequence, 0, 360));
    return jitter;
}

void grain_draw(float alpha, const GrainJitter& jitter) {
    // At alpha 0 the blend keeps every pixel as it is: the quad would cost
    // a full-screen pass for nothing. The noise flash drawn next sets all
    // the state this would have left.
    if (alpha <= 0) return;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, alpha);
    glPushMatrix();
    glTranslatef(jitter.dx, jitter.dy, 0);
    glRotatef(jitter.degrees, 0, 0, 1);
    bind_slot(texture_slot::grain);
    quad_draw(-2.5f, -2.5f, 2.5f, 2.5f, 0, 0, 2, 2);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void noise_flash(int slot, float alpha, const FrameView& view) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, alpha);
    bind_slot(slot);
    upright_quad(view.w * 1.122807f, view.h);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
}

void background_draw(const FrameView& view, const SceneState& scene) {
    int mode = scene.background_mode;
    if (mode == background_black) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    if (mode < background_plain || mode > background_ripple) return;
    target_image_bind(target_scene, target_base, wgl::back_left);
    background_shape(view, scene);
    target_image_release(target_base, wgl::back_left);
}

void image_flash_draw(const FrameView& view) {
    static const int pattern[8] = {1, 0, 1, 1, 1, 0, 1, 0};
    const double beat = view.beat;
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    float wq = view.w * 1024 / static_cast<float>(settings.area_width);
    float hq = view.h * 512 / static_cast<float>(settings.area_height);
    double c = pattern[static_cast<long long>(std::trunc(beat)) % 8] ? 1.0 : 1 - (beat - std::trunc(beat));
    // After the music the arrow fades in over 12 beats.
    const double music_end = script_start(Script::after_music);
    if (beat >= music_end) c = (beat - music_end) * 0.08333333333333333;
    glColor3d(c, c, c);
    bind_slot(texture_slot::arrow);
    glEnable(GL_TEXTURE_2D);
    upright_quad(wq, hq);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}
