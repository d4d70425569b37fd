// The probe that fetches the extension entry points through a temporary
// window and context, and the multisampled pixel-format request.
#pragma once

#include "platform/platform.h"

// 0 success; -1 no temporary window; -3 entry points missing.
int multisample_test(int color_bits);

// 0 with `format` set; -2 no format found; -1 no wglChoosePixelFormatARB.
int multisample_format(platform::Handle dc, int samples, int* format);
