// Pixel formats: setting the one chosen for a window, and asking the
// driver's wglChoosePixelFormatARB for the multisampled window and pbuffer
// formats.
#pragma once

#include <initializer_list>
#include <vector>

#include "gl/glext.h"
#include "platform/platform.h"

// Sets `format` on `dc`. A format of 0 (none was chosen) and a failed set
// are each reported in a box whose text starts with `caller`, and the next
// step is tried all the same.
void pixel_format_set(platform::Handle dc, int format, const platform::PixelFormatRequest& request,
                      const char* caller);

// The attribute list for wglChoosePixelFormatARB: the kind of drawable
// (`drawable`), the colour bits, 8 alpha, 16 depth and 8 stencil bits,
// double buffering, then what else it needs (`extra`); zero-terminated.
std::vector<int> format_attributes(std::initializer_list<int> drawable, int color_bits,
                                   std::initializer_list<int> extra);

struct FormatChoice {
    ext::Bool valid = 0;
    int format = 0;
    unsigned count = 0;
};
// Asks for one format with `attributes` and no float attributes.
FormatChoice format_choose(platform::Handle dc, const std::vector<int>& attributes);
