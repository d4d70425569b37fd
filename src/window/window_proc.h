// The window procedure shared by every window of the demo's class.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

// Last horizontal mouse position over the debug window, as x / 512.
extern double timeline_u;
// The HDR level a right click on the timeline asked for, until the next
// frame takes it into the scene state.
extern std::optional<float> hdr_level_request;

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);

// Seeks the clock to its length x timeline_u.
void timeline_scrub();
