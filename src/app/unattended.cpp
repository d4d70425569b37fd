#include "app/unattended.h"

#include <cstdio>

#include "capture/file_out.h"
#include "config/settings.h"
#include "gl/glext.h"
#include "log/log.h"

std::string window_clamp_note() {
    long long width = settings.asked_width, height = settings.asked_height;
    if (width == settings.window_width && height == settings.window_height) return "";
    bool larger = width > window_max_width || height > window_max_height;
    bool smaller = width < window_min_width || height < window_min_height;
    char bounds[96];
    if (larger && smaller)
        std::snprintf(bounds, sizeof bounds, "outside the window sizes %d x %d to %d x %d", window_min_width,
                      window_min_height, window_max_width, window_max_height);
    else if (larger)
        std::snprintf(bounds, sizeof bounds, "larger than the largest window, %d x %d", window_max_width,
                      window_max_height);
    else
        std::snprintf(bounds, sizeof bounds, "smaller than the smallest window, %d x %d", window_min_width,
                      window_min_height);
    char text[256];
    std::snprintf(text, sizeof text, "%lld x %lld is %s; capturing %d x %d", width, height, bounds,
                  settings.area_width, settings.area_height);
    return text;
}

bool unattended_picture_ok() {
    int problems = error_boxes_written();
    // Every box before the first frame stands for something the picture
    // lacks: settings of config.xml, data files, the glow's programs or
    // targets. The sound device, the one failure that spares the picture,
    // is never opened by a capture.
    if (settings.glext && !glext_ready) {
        capture_message("heden: no render targets for the glow, which config.xml asks for (glext 1)\n");
        ++problems;
    }
    if (problems == 0) return true;
    capture_message("heden: nothing captured: %d problem%s above would change the picture\n", problems,
                    problems == 1 ? "" : "s");
    return false;
}
