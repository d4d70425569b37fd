// The probe that fetches the extension entry points through a temporary
// window and context, and the multisampled pixel-format request.
#pragma once

#include "platform/platform.h"

enum ProbeResult : int {
    probe_ok = 0,
    probe_no_window = -1,             // no temporary window
    probe_entry_points_missing = -3,  // the driver lacks entry points the demo uses
};

ProbeResult multisample_test(int color_bits);

enum MultisampleResult : int {
    multisample_found = 0,          // `format` is set
    multisample_no_chooser = -1,    // the driver has no wglChoosePixelFormatARB
    multisample_no_format = -2,     // no format with that many samples
};

MultisampleResult multisample_format(platform::Handle dc, int samples, int* format);
