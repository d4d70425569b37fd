// Windows in the page: the first window is the demo's canvas, one made
// while it exists is the timeline strip under it. Both are ES pictures; the
// canvas shows the picture's target at every swap, the strip the bitmaps
// blitted to it. The page (web/page.js) does the DOM side.
#include <emscripten.h>

#include <map>
#include <string>

#include "platform/es/pictures.h"
#include "platform/web/web_gl.h"
#include "platform/web/web_state.h"

namespace {

std::map<std::string, platform::WindowProc> classes;
platform::Handle picture = 0, strip = 0;

}  // namespace

namespace web {

platform::Handle picture_window() { return picture; }
platform::Handle strip_window() { return strip; }

}  // namespace web

namespace platform {

bool register_window_class(const char* class_name, WindowProc proc, ClassIcon) {
    return classes.emplace(class_name, proc).second;
}

bool unregister_window_class(const char* class_name) { return classes.erase(class_name) == 1; }

Handle create_window(const WindowRequest& request) {
    auto found = classes.find(request.class_name ? request.class_name : "");
    if (found == classes.end() || (picture && strip) || !web::gl_start()) return 0;
    Handle window = es_pictures::create_window(request, found->second);
    if (!window) return 0;
    Size size = es_pictures::client_size(window);
    bool is_picture = picture == 0;
    (is_picture ? picture : strip) = window;
    EM_ASM({ Module.heden.windowMade($0, $1, $2); }, is_picture, size.width, size.height);
    return window;
}

bool destroy_window(Handle window) {
    if (!es_pictures::destroy_window(window)) return false;
    web::icons_release(window);
    bool was_picture = window == picture;
    (was_picture ? picture : strip) = 0;
    EM_ASM({ Module.heden.windowGone($0); }, was_picture);
    return true;
}

Size client_size(Handle window) { return es_pictures::client_size(window); }

// A page's canvas keeps its drawing size; the page scales it to the view.
void resize_window(Handle, int, int) {}
void move_window(Handle, int, int, int, int) {}

void set_window_title(Handle window, const char* title) {
    if (window == picture) EM_ASM({ Module.heden.windowTitle(UTF8ToString($0)); }, title);
}

void show_window(Handle) {}
void show_window_normal(Handle) {}
void set_focus(Handle) {}

// Nobody sees a picture in a hidden tab.
bool window_shown(Handle window) {
    return es_pictures::window_exists(window) && EM_ASM_INT({ return document.visibilityState !== 'hidden'; });
}

void show_cursor(bool visible) { EM_ASM({ Module.heden.cursor($0); }, visible); }

Size screen_size() {
    return Size{EM_ASM_INT({ return window.innerWidth; }), EM_ASM_INT({ return window.innerHeight; })};
}

// A page cannot switch the monitor's mode; the browser's fullscreen (F4 or
// a double click, handled by the page) scales the canvas instead.
int change_display_mode(const DisplayMode&) { return 0; }
void restore_display_mode() {}
int last_error() { return 0; }
std::string display_problem() { return web::gl_problem(); }

}  // namespace platform
