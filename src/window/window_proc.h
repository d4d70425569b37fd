// The window procedure shared by every window of the demo's class.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Last horizontal mouse position over the debug window, as x / 512.
extern double timeline_u;
// Lowers the HDR cut of the composite; set from the timeline with a right
// click.
extern float hdr_level;

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);

// Seeks the clock to demo_length x timeline_u.
void timeline_scrub();
