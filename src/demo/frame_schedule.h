// One frame of the demo: the scene script for the current beat, the scene
// with its overlays, the tone split and the glow, composed on the window.
#pragma once

void frame_render();

// Notes the end of the track when the clock has just seen it, as a frame
// would: the closing scene counts its time from there. For the main loop
// while no frame is drawn.
void track_end_note();

// The post-processing passes of a frame with extensions, in their order.
// Tone split: render target 0's scene into the base image (target 1) and
// the highlights (target 4). Every pass draws into back buffers only.
void tone_split();
// Horizontal, vertical, horizontal, vertical blur of the highlights through
// the two small targets; the glow ends in target 4.
void glow_chain();
// Background and additive glow on the window (and the image flash where
// the beat calls for it); leaves the main context current.
void composite();

// The uniform values of the tone split for an HDR level: the highlight cut
// 1 - level and the base image's 0.9 / (1 - level), kept finite.
struct ToneSplit {
    float cut;
    float icut;
};
ToneSplit tone_split_values(float level);
