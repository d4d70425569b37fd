// The title "HEDEN" as a 2D signed distance: rounded strokes, cap height 1,
// baseline at y = 0, y growing upwards, the word centred on x = 0.
#pragma once

constexpr float title_stroke = 0.12f;     // half the stroke width
constexpr float title_half_width = 2.47f;  // half the word's width, strokes included

// Negative inside the letters; the distance is in cap heights.
float title_distance(float x, float y);
