#include "gl/multisample.h"

#include <cstdint>

#include "log/log.h"
#include "config/settings.h"
#include "gl/glext.h"
#include "gl/pixel_format.h"
#include "platform/wgl.h"

namespace {

constexpr const char* temp_class = "TEMP_WC";

std::intptr_t temp_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    if (message == platform::msg_close) {
        platform::post_quit_message(0);
        return 0;
    }
    return platform::default_window_proc(window, message, wparam, lparam);
}

// The temporary context: every failing step is reported and the next tried.
platform::Handle temp_context(platform::Handle dc, int color_bits) {
    platform::PixelFormatRequest request{color_bits, 1, 16, 8};
    pixel_format_set(dc, platform::choose_pixel_format(dc, request), request, "temp ");
    platform::Handle context = platform::create_gl_context(dc);
    if (!context) error_box("nogl");
    if (!platform::make_gl_current(dc, context))
        error_box("temp wglMakeCurrent(0x%x,0x%x) \n failure :( ", platform::handle_print(dc),
                  platform::handle_print(context));
    return context;
}

void report_missing() {
    const char* vendor = gl_string(GL_VENDOR);
    const char* renderer = gl_string(GL_RENDERER);
    const char* version = gl_string(GL_VERSION);
    log_print("no wgl-extensions on your device?\ncom:%s\ndev:%s\nver:%s\n", vendor, renderer, version);
    if (settings.glext)
        error_box("ningunas extensiones de wgl?\ncom:%s\ndev:%s\nver:%s\n", vendor, renderer, version);
}

}  // namespace

ProbeResult multisample_test(int color_bits) {
    platform::register_window_class(temp_class, temp_proc, platform::ClassIcon::winlogo);
    platform::WindowRequest request{temp_class, "loading..", platform::WindowStyle::overlapped, 0, 0, 100, 16};
    platform::Handle window = platform::create_window(request);
    if (!window) {
        log_print("no test window :(\n");
        return probe_no_window;
    }
    platform::Handle dc = platform::get_dc(window);
    platform::Handle context = temp_context(dc, color_bits);
    int missing = gl_report();
    if (missing) report_missing();
    platform::make_gl_current(0, 0);
    platform::delete_gl_context(context);
    platform::destroy_window(window);
    platform::unregister_window_class(temp_class);
    if (missing) return probe_entry_points_missing;
    log_print("multisample_test() done .. \n");
    return probe_ok;
}

MultisampleResult multisample_format(platform::Handle dc, int samples, int* format) {
    if (!gl_ext.wglChoosePixelFormatARB) {
        log_print("\n no opengl multisample functions in hardware :( \n");
        return multisample_no_chooser;
    }
    std::vector<int> attributes =
        format_attributes({wgl::draw_to_window, 1, wgl::support_opengl, 1, wgl::acceleration, wgl::full_acceleration},
                          24, {wgl::sample_buffers, 1, wgl::samples, samples});
    FormatChoice choice = format_choose(dc, attributes);
    log_print("wglChoosePixelFormatARB() format%i valid%i \n", choice.format, choice.valid);
    if (choice.valid && choice.count >= 1) {
        *format = choice.format;
        log_print("\n multisample %ix supported :) \n", samples);
        return multisample_found;
    }
    log_print("\n multisample unsupported :( \n");
    return multisample_no_format;
}
