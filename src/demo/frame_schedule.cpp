#include "demo/frame_schedule.h"

#include "log/log.h"
#include "config/settings.h"
#include "gl/glext.h"
#include "window/debug_window.h"

void frame_render() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) log_print("gl error 0x%x \n", static_cast<unsigned>(error));
    if (debug_timeline) timeline_draw();
}
