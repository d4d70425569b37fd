#include "gl/pbuffer.h"

#include "log/log.h"
#include "gl/glext.h"
#include "gl/pixel_format.h"
#include "platform/wgl.h"

// In the order of RenderTarget.
Pbuffer render_targets[render_target_count] = {
    {nullptr, 0, 0, 1024, 512, 32},
    {nullptr, 0, 0, 1024, 512, 32},
    {nullptr, 0, 0, 256, 256, 32},
    {nullptr, 0, 0, 256, 256, 32},
    {nullptr, 0, 0, 1024, 512, 32},
};

PbufferResult pbuffer_create(platform::Handle dc, Pbuffer* target) {
    const int pbuffer_attributes[] = {wgl::texture_format, wgl::texture_rgba, wgl::texture_target, wgl::texture_2d, 0};
    FormatChoice choice = format_choose(
        dc, format_attributes({wgl::draw_to_pbuffer, 1}, target->bits, {wgl::bind_to_texture_rgba, 1}));
    if (!choice.valid) {
        error_box("\tglChoosePixelFormatARB(  failure ");
        return pbuffer_no_format;
    }
    target->handle = gl_ext.wglCreatePbufferARB(reinterpret_cast<void*>(dc), choice.format, target->width,
                                                target->height, pbuffer_attributes);
    if (!target->handle) {
        error_box("no pbuffer for you mistar");
        return pbuffer_no_pbuffer;
    }
    target->dc = reinterpret_cast<platform::Handle>(gl_ext.wglGetPbufferDCARB(target->handle));
    if (!target->dc) {
        error_box("wglGetPbufferDCARB(0x%x); failed", platform::handle_print(reinterpret_cast<platform::Handle>(target->handle)));
        return pbuffer_no_dc;
    }
    target->context = platform::create_gl_context(target->dc);
    if (!target->context) {
        error_box("wglGetPbufferDCARB(, 0x%x); failed", platform::handle_print(target->dc));
        gl_ext.wglReleasePbufferDCARB(target->handle, reinterpret_cast<void*>(target->dc));
        // A pbuffer without a context is of no use to anyone: give it back.
        gl_ext.wglDestroyPbufferARB(target->handle);
        target->handle = nullptr;
        target->dc = 0;
        return pbuffer_no_context;
    }
    gl_ext.wglQueryPbufferARB(target->handle, wgl::pbuffer_width, &target->width);
    gl_ext.wglQueryPbufferARB(target->handle, wgl::pbuffer_height, &target->height);
    log_print("pbuffer_create(0x%x) done with no errors\n", platform::handle_print(dc));
    return pbuffer_ok;
}

int pbuffer_destroy(Pbuffer* target) {
    if (target->context && platform::delete_gl_context(target->context))
        target->context = 0;
    else
        error_box("wglDeleteContext");
    if (target->dc && gl_ext.wglReleasePbufferDCARB(target->handle, reinterpret_cast<void*>(target->dc)))
        target->dc = 0;
    else
        error_box("wglReleasePbufferDCARB");
    if (!gl_ext.wglDestroyPbufferARB(target->handle)) error_box("wglDestroyPbufferARB");
    return 0;
}
