#include "gl/gl_defaults.h"

#include <cmath>
#include <cstring>

#include "log/log.h"
#include "config/settings.h"
#include "gl/glext.h"
#include "gl/pbuffer.h"

namespace {

constexpr double near_plane = 0.10000000149011612;  // 0.1f widened
constexpr double far_plane = 2048.0;

void smooth_shading_and_hints() {
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_FOG_HINT, GL_NICEST);
}

void drawing_area_projection() {
    double aspect = static_cast<double>(settings.area_width) / settings.area_height;
    gl_perspective(field_of_view, aspect, near_plane, far_plane);
}

void culling() {
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
}

void target_defaults(int index) {
    const Pbuffer& target = render_targets[index];
    make_current_checked(target.dc, target.context);
    if (index != target_base) smooth_shading_and_hints();
    glViewport(0, 0, target.width, target.height);
    drawing_area_projection();
    culling();
    if (index == target_scene)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
}

}  // namespace

bool make_current_checked(platform::Handle dc, platform::Handle context) {
    if (platform::make_gl_current(dc, context)) return true;
    error_box("wglMakeCurrent(0x%x,0x%x) \n failure :( ", platform::handle_print(dc), platform::handle_print(context));
    return false;
}

double view_half_height(double fov_degrees) { return std::tan(fov_degrees * half_angle_factor); }

void gl_perspective(double fov_degrees, double aspect, double near_value, double far_value) {
    double t = view_half_height(fov_degrees);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double top = near_value * t;
    double right = near_value * t * aspect;
    glFrustum(-right, right, -top, top, near_value, far_value);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void gl_defaults(platform::Handle dc, platform::Handle context) {
    make_current_checked(dc, context);
    smooth_shading_and_hints();
    glViewport((settings.window_width - settings.area_width) / 2, (settings.window_height - settings.area_height) / 2,
               settings.area_width, settings.area_height);
    drawing_area_projection();
    if (glIsEnabled(GL_MULTISAMPLE_ARB)) {
        glEnable(GL_MULTISAMPLE_ARB);
        // Drivers without the NV hint answer it with GL_INVALID_ENUM, which
        // would linger until the next error check and be blamed on it.
        if (std::strstr(gl_string(GL_EXTENSIONS), "GL_NV_multisample_filter_hint"))
            glHint(GL_MULTISAMPLE_FILTER_HINT_NV, GL_NICEST);
    }
    culling();
    glDisable(GL_DEPTH_TEST);
    if (!glext_ready) return;
    for (int i = 0; i < render_target_count; ++i) target_defaults(i);
    make_current_checked(dc, context);
}
