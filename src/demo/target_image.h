// Render-target images as textures: one colour buffer of a pbuffer bound
// onto one of the render textures for the duration of a pass.
#pragma once

#include "demo/precalc.h"
#include "gl/glext.h"
#include "gl/pbuffer.h"
#include "platform/wgl.h"

// `texture` names the render texture by its target's RenderTarget.
inline void target_image_bind(RenderTarget texture, RenderTarget target, int buffer) {
    glBindTexture(GL_TEXTURE_2D, precalc_gl.render_textures[texture]);
    gl_ext.wglBindTexImageARB(render_targets[target].handle, buffer);
}

inline void target_image_release(RenderTarget target, int buffer) {
    gl_ext.wglReleaseTexImageARB(render_targets[target].handle, buffer);
}
