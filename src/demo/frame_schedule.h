// One frame of the demo: the scene script for the current beat, the scene
// with its overlays, the tone split and the glow, composed on the window.
#pragma once

void frame_render();

// The uniform values of the tone split for an HDR level: the highlight cut
// 1 - level and the base image's 0.9 / (1 - level), kept finite.
struct ToneSplit {
    float cut;
    float icut;
};
ToneSplit tone_split_values(float level);
