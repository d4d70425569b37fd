// Render-target images as textures: one colour buffer of a pbuffer bound
// onto one of the render textures for the duration of a pass.
#pragma once

#include "demo/precalc.h"
#include "gl/glext.h"
#include "gl/pbuffer.h"
#include "platform/wgl.h"

inline void target_image_bind(int texture, int target, int buffer) {
    glBindTexture(GL_TEXTURE_2D, render_textures[texture]);
    ext::wglBindTexImageARB(render_targets[target].handle, buffer);
}

inline void target_image_release(int target, int buffer) {
    ext::wglReleaseTexImageARB(render_targets[target].handle, buffer);
}
