// The two icon pictures as the icons of a window.
#pragma once

#include "platform/platform.h"

// Builds the small and the big icon from small_icon_image and icon_image
// (pure green is transparent) and attaches them to the window.
void window_icons_set(platform::Handle window);
