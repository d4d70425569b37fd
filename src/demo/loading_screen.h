// The loading picture, shown while the demo precalculates.
#pragma once

// Half width and half height of the loading picture's quad at distance 1.
extern float loading_half_width;
extern float loading_half_height;

// Shows "pool/loading.png" at its pixel size in the middle of the drawing
// area, dimmed by `progress` (0 full brightness, 1 black), and swaps.
void loading_screen(double progress);
