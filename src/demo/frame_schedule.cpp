#include "demo/frame_schedule.h"

#include <cmath>

#include "clock/clock.h"
#include "clock/schedule.h"
#include "config/settings.h"
#include "demo/frame_state.h"
#include "demo/frame_view.h"
#include "demo/overlays.h"
#include "demo/precalc.h"
#include "demo/quads.h"
#include "demo/scene_render.h"
#include "demo/scene_scripts.h"
#include "demo/scene_state.h"
#include "demo/target_image.h"
#include "demo/texture_slots.h"
#include "gl/gl_defaults.h"
#include "log/log.h"
#include "window/window.h"

namespace {

// Far beyond any demo length; keeps every beat-derived index in range.
constexpr double last_beat = 1e9;

// The smallest distance of the HDR level from 1 the tone split divides by.
constexpr float smallest_headroom = 1.0f / 1024;

void end_of_track(FrameState& state, const FrameInput& input) {
    if (!input.track_ended) return;
    track_end_note(state, input);
    end_scene(state.scene, (input.process_ms - state.track_end_clock) * 0.001);
}

void common_target_state() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    opaque_draw_state();
}

void clear_values(float grey) {
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(grey, grey, grey, grey);
    glColor3f(1, 1, 1);
    glClearStencil(0);
}

// Every pass draws into the back buffer of a render target and binds back
// buffers only. A pbuffer's front buffer does not keep its pixels on every
// driver: under Mesa's softpipe whatever is drawn there reads back black,
// without an error, and a glow passed through fronts would vanish. So the
// highlights and the finished glow have a target of their own (target_glow)
// instead of the front of the base image's target.
void make_target_current(RenderTarget index) {
    make_current_checked(render_targets[index].dc, render_targets[index].context);
    glDrawBuffer(GL_BACK);
}

// Into render target 0 with extensions; straight into the window on white
// without them.
void scene_target_setup() {
    if (glext_ready) {
        make_target_current(target_scene);
        gl_ext.glUseProgramObjectARB(0);
        clear_values(0);
        common_target_state();
        return;
    }
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    clear_values(1);
    common_target_state();
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glDisable(GL_LIGHT1);
}

}  // namespace

namespace {

// The scene image through one half of the tone split into a target.
void tone_pass(const FrameView& view, RenderTarget target, ext::Handle program, GLint location, float value) {
    make_target_current(target);
    gl_ext.glUseProgramObjectARB(program);
    gl_ext.glUniform1fARB(location, value);
    glDisable(GL_DEPTH_TEST);
    target_image_bind(target_scene, target_scene, wgl::back_left);
    full_screen_quad(view.w, view.h);
    target_image_release(target_scene, wgl::back_left);
}

}  // namespace

void tone_split(const FrameView& view, float hdr_level) {
    ToneSplit values = tone_split_values(hdr_level);
    const PrecalcGl& gl = precalc_gl;
    tone_pass(view, target_base, gl.program_hdr_low, gl.hdr_icut_location, values.icut);
    tone_pass(view, target_glow, gl.program_hdr_hi, gl.hdr_cut_location, values.cut);
}

namespace {

// One blur pass from a target image into another target. The quad covers
// the whole target with depth test and blending off in its context, so no
// clear goes before it.
void blur(const FrameView& view, RenderTarget target, ext::Handle program, RenderTarget source) {
    make_target_current(target);
    gl_ext.glUseProgramObjectARB(program);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    target_image_bind(source, source, wgl::back_left);
    full_screen_quad(view.w, view.h);
    target_image_release(source, wgl::back_left);
}

}  // namespace

void glow_chain(const FrameView& view) {
    const PrecalcGl& gl = precalc_gl;
    blur(view, target_blur_a, gl.program_glow_hor, target_glow);
    blur(view, target_blur_b, gl.program_glow_ver, target_blur_a);
    blur(view, target_blur_a, gl.program_glow_hor, target_blur_b);
    blur(view, target_glow, gl.program_glow_ver, target_blur_a);
}

void composite(const FrameView& view, const SceneState& scene) {
    make_current_checked(window_state.main_dc, window_state.main_context);
    gl_ext.glUseProgramObjectARB(0);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    background_draw(view, scene);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    target_image_bind(target_scene, target_glow, wgl::back_left);
    full_screen_quad(view.w, view.h);
    target_image_release(target_glow, wgl::back_left);
    glDisable(GL_BLEND);
    if (stretch_at(view.beat).image_flash) image_flash_draw(view);
    glEnable(GL_DEPTH_TEST);
}

namespace {

void scene_and_overlays(const FrameView& view, const SceneState& scene, DrawScratch& scratch) {
    sky_draw(scene);
    glEnable(GL_LIGHT1);
    scene_draw(scene, scratch);
    glDisable(GL_LIGHT1);
    particles_draw(scene, view.beat);
    grain_draw(scene.grain_alpha, view.grain);
    double beat = view.beat;
    int noise_slot = texture_slot::noise_first +
                     static_cast<int>((static_cast<long long>(std::trunc(beat)) / 8) % texture_slot::noise_count);
    noise_flash(noise_slot, static_cast<float>((1 - view.bar_phase) * 0.25), view);
}

}  // namespace

FrameView frame_view_at(float time, AreaSize area) {
    FrameView view{};
    view.time = time;
    view.beat = time > 0 ? std::fmin(time * beats_per_second, last_beat) : 0;
    double bars = view.beat / 4;
    view.bar_phase = bars - std::trunc(bars);
    view.h = static_cast<float>(view_half_height());
    view.w = static_cast<float>(area.width) * view.h / static_cast<float>(area.height);
    return view;
}

ToneSplit tone_split_values(float level) {
    // Levels at or above 1 would divide by zero or flip the base image's
    // sign: the divisor stays at least 1/1024.
    float headroom = 1.0f - level;
    if (!(headroom >= smallest_headroom)) headroom = smallest_headroom;
    return {1.0f - level, 0.9f / headroom};
}

void track_end_note(FrameState& state, const FrameInput& input) {
    if (input.track_ended && state.track_end_clock < 0) state.track_end_clock = input.process_ms;
}

FrameInput frame_input_now(const DemoClock& clock, float time) {
    return FrameInput{time, clock.track_ended != 0, clock_process_ms(clock), std::nullopt,
                      AreaSize{settings.area_width, settings.area_height}};
}

FrameView frame_update(FrameState& state, const FrameInput& input) {
    if (input.hdr_level) state.scene.hdr_level = *input.hdr_level;
    FrameView view = frame_view_at(input.time, input.area);
    scene_dispatch(state, view.beat);
    end_of_track(state, input);
    camera_turn_update(state.scene);
    // After the scripts' draws, as the grain has always taken its numbers.
    view.grain = grain_jitter_next(state.rand_state);
    return view;
}

void frame_draw(const FrameState& state, const FrameView& view, DrawScratch& scratch) {
    const SceneState& scene = state.scene;
    scene_target_setup();
    scene_and_overlays(view, scene, scratch);
    if (glext_ready) {
        tone_split(view, scene.hdr_level);
        glow_chain(view);
        composite(view, scene);
    }
    if (glGetError() != GL_NO_ERROR) log_print("gl errors..\n");
}

FrameView frame_render(FrameState& state, const FrameInput& input, DrawScratch& scratch) {
    FrameView view = frame_update(state, input);
    frame_draw(state, view, scratch);
    return view;
}
