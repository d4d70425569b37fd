// The window procedure shared by every window of the demo's class.
#pragma once

#include <cstdint>

#include "platform/platform.h"

std::intptr_t window_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);

// Seeks the clock to its length x window_state.timeline_u.
void timeline_scrub();
