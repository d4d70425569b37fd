// Hand-run timing of window creation, the first loading-screen frame and
// the fullscreen toggle on the X display in DISPLAY, run from a folder with
// pool/. Not a test: prints milliseconds.
#include <chrono>
#include <cstdio>

#include "config/settings.h"
#include "data/file_table.h"
#include "demo/loading_screen.h"
#include "gl/glext.h"
#include "window/window.h"

namespace {

double ms_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    auto start = std::chrono::steady_clock::now();
    settings_defaults();
    blob_open();
    if (window_setup(1) != 0) return 1;
    std::printf("first window_setup (probe, icons, window, 4 render targets, defaults): %.1f ms\n", ms_since(start));
    loading_screen(0.0);
    std::printf("start to the first loading-screen frame: %.1f ms\n", ms_since(start));
    constexpr int toggles = 10;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < toggles; ++i)
        if (window_setup(0) != 0) return 1;
    std::printf("F4 re-creation, mean of %d: %.1f ms\n", toggles, ms_since(start) / toggles);
    window_destroy();
    blob_close();
    return 0;
}
