// Reads the drawing area (the picture without the bars around it) out of
// the current context's back buffer, before the swap.
#pragma once

#include <cstdint>
#include <vector>

// The area's place in the window, in GL's bottom-up coordinates: centred,
// as the viewport is placed.
struct AreaRect {
    int x, y, width, height;
};

AreaRect readback_area_rect();

// RGB rows of the area, top to bottom, into `rgb` (resized to fit).
void readback_area(const AreaRect& area, std::vector<std::uint8_t>& rgb);
