// The layers drawn around the 3D scene: particles, film grain and the noise
// flash in the scene target; the background treatment of the base image and
// the beat-synchronised image flash on the window.
#pragma once

#include <cstdint>

#include "demo/frame_view.h"
#include "demo/scene_state.h"

// 512 billboards drifting around an 8 x 8 x 8 lattice with the beat, facing
// the scene's camera.
void particles_draw(const SceneState& scene, double beat);
// The grain texture at `alpha`, shifted and turned by the frame's jitter;
// nothing at all at alpha 0 or below.
void grain_draw(float alpha, const GrainJitter& jitter);
// The next frame's grain jitter: three draws from the shared sequence, the
// vertical shift first, then the horizontal one, then the turn, from the
// sequence standing at `sequence`.
GrainJitter grain_jitter_next(std::uint32_t& sequence);
// A full-screen noise picture at `alpha`, slightly wider than the view.
void noise_flash(int slot, float alpha, const FrameView& view);

// How the composite shows the base image, by the scene's background_mode
// (BackgroundMode in demo/scene_state.h); other modes draw nothing.
void background_draw(const FrameView& view, const SceneState& scene);

// The arrow picture, added in the colour of the beat's pattern.
void image_flash_draw(const FrameView& view);
