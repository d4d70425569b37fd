#include "window/window.h"

#include "log/log.h"
#include "config/settings.h"
#include "gl/gl_defaults.h"
#include "gl/glext.h"
#include "gl/multisample.h"
#include "gl/pbuffer.h"
#include "gl/pixel_format.h"
#include "image/icon.h"
#include "image/window_icons.h"
#include "window/debug_window.h"
#include "window/window_proc.h"

WindowState window_state;

namespace {

using platform::address_print;
using platform::handle_print;

constexpr const char* window_title = "F4 = toggle fullscreen";
constexpr int fullscreen_flag = 4;  // CDS_FULLSCREEN: the mode is temporary

platform::Handle create_fullscreen() {
    platform::WindowRequest request{window_class_name, window_title, platform::WindowStyle::popup, 0, 0,
                                    settings.window_width, settings.window_height};
    platform::Handle window = platform::create_window(request);
    platform::DisplayMode mode{settings.window_width, settings.window_height, settings.color_depth};
    int result = platform::change_display_mode(mode);
    if (result != 0)
        error_box("failure:\n ChangeDisplaySettings(0x%x,0x%x)\n returned %i", address_print(&mode), fullscreen_flag,
                  result);
    return window;
}

platform::Handle create_windowed() {
    platform::restore_display_mode();
    platform::Size screen = platform::screen_size();
    platform::WindowRequest request{window_class_name,
                              window_title,
                              platform::WindowStyle::sysmenu,
                              window_position(settings.halign, screen.width, settings.window_width),
                              window_position(settings.valign, screen.height, settings.window_height),
                              settings.window_width,
                              settings.window_height};
    return platform::create_window(request);
}

void choose_and_set_pixel_format() {
    platform::PixelFormatRequest request{settings.color_depth, 0, 16, 8};
    int format = 0;
    if (multisample_format(window_state.main_dc, settings.multisample, &format) != multisample_found)
        format = platform::choose_pixel_format(window_state.main_dc, request);
    pixel_format_set(window_state.main_dc, format, request, "window_create :: ");
}

}  // namespace

int window_position(int alignment, int screen, int size) {
    if (alignment == 0) return 16;
    if (alignment == 1) return (screen - size) / 2;
    return screen - size - 16;
}

WindowResult window_create() {
    WindowState& w = window_state;
    if (!platform::register_window_class(window_class_name, window_proc)) {
        error_box("RegisterClass() failed");
        return window_no_class;
    }
    w.main_window = settings.fullscreen ? create_fullscreen() : create_windowed();
    if (!w.main_window) {
        error_box("CreateWindow() failed");
        return window_no_window;
    }
    platform::Size client = platform::client_size(w.main_window);
    platform::resize_window(w.main_window, 2 * settings.window_width - client.width,
                            2 * settings.window_height - client.height);
    if (settings.window_caption) platform::set_window_title(w.main_window, settings.window_caption);
    window_icons_set(w.main_window);
    w.main_dc = platform::get_dc(w.main_window);
    choose_and_set_pixel_format();
    w.main_context = platform::create_gl_context(w.main_dc);
    if (!w.main_context) {
        int error = platform::last_error();
        platform::release_dc(w.main_window, w.main_dc);
        platform::destroy_window(w.main_window);
        platform::unregister_window_class(window_class_name);
        error_box("wglCreateContext(0x%x); \nreturned an errorcode %i", handle_print(w.main_dc), error);
        w.main_window = w.main_dc = 0;
        return window_no_context;
    }
    if (!make_current_checked(w.main_dc, w.main_context)) return window_not_current;
    platform::set_swap_interval(w.main_dc, w.swap_interval);
    platform::show_window(w.main_window);
    platform::show_cursor(settings.fullscreen == 0);
    return window_ok;
}

int window_destroy() {
    WindowState& w = window_state;
    if (settings.debug_timeline && w.debug_window && platform::destroy_window(w.debug_window)) w.debug_window = 0;
    platform::make_gl_current(0, 0);
    if (platform::delete_gl_context(w.main_context))
        w.main_context = 0;
    else
        error_box("WglDeleteContext(0x%x) failure", handle_print(w.main_context));
    if (platform::release_dc(w.main_window, w.main_dc))
        w.main_dc = 0;
    else
        error_box("ReleaseDC(0x%x) failed ", handle_print(w.main_window));
    if (platform::destroy_window(w.main_window))
        w.main_window = 0;
    else
        error_box("DestroyWindow failed");
    if (!platform::unregister_window_class(window_class_name)) error_box("UnregisterClassFailed");
    return 0;
}

namespace {

// Tries every target, even after one failed; true when all were made.
bool create_render_targets() {
    platform::Handle dc = platform::current_dc();
    bool all_made = true;
    for (Pbuffer& target : render_targets)
        if (pbuffer_create(dc, &target) != pbuffer_ok) all_made = false;
    return all_made;
}

// Everything that follows a successful window creation.
WindowResult finish_setup() {
    if (glext_ready && !create_render_targets()) {
        error_box("pbuffer_creation failed ");
        window_destroy();
        return window_no_render_targets;
    }
    gl_defaults(window_state.main_dc, window_state.main_context);
    if (settings.debug_timeline) {
        debug_window_create();
        platform::set_focus(window_state.main_window);
    }
    return window_ok;
}

WindowResult create_and_finish() {
    int result = window_create();
    if (result != window_ok) {
        error_box("window creation failed \n exiting now %i", result);
        return window_no_window;
    }
    return finish_setup();
}

// Quietly releases whatever a failed creation left behind, so that a new
// creation starts from nothing.
void discard_partial_window() {
    WindowState& w = window_state;
    platform::make_gl_current(0, 0);
    if (w.main_context) platform::delete_gl_context(w.main_context);
    if (w.main_window) {
        platform::release_dc(w.main_window, w.main_dc);
        platform::destroy_window(w.main_window);
    }
    if (w.debug_window) platform::destroy_window(w.debug_window);
    w.main_context = w.main_dc = w.main_window = w.debug_window = 0;
    platform::unregister_window_class(window_class_name);
}

void release_render_targets() {
    if (glext_ready)
        for (Pbuffer& target : render_targets) pbuffer_destroy(&target);
}

// F4: the whole window in the other mode. When the new mode cannot be made,
// the previous one comes back; when that fails too, the demo quits instead
// of rendering into handles that no longer exist.
WindowResult toggle_fullscreen() {
    release_render_targets();
    window_destroy();
    settings.fullscreen = settings.fullscreen ? 0 : 1;
    WindowResult result = create_and_finish();
    if (result == window_ok) return window_ok;
    discard_partial_window();
    settings.fullscreen = settings.fullscreen ? 0 : 1;
    if (create_and_finish() != window_ok) platform::post_quit_message(0);
    return result;
}

}  // namespace

void render_targets_give_up() {
    release_render_targets();
    glext_ready = 0;
}

WindowResult window_setup(int first) {
    if (first == 0) return toggle_fullscreen();
    multisample_test(settings.color_depth);
    icon_images_load();
    return create_and_finish();
}
