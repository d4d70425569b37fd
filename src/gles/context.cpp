#include <cstring>
#include <string>

#include "gles/calls.h"
#include "gles/es_api.h"
#include "gles/gles.h"
#include "gles/legacy_enums.h"
#include "gles/pipeline.h"
#include "gles/report.h"
#include "gles/shader_objects.h"
#include "gles/state.h"

namespace gles {

namespace {

bool started = false;
ProcAddress driver_address = nullptr;
Context* current_context = nullptr;
bool border_clamp = false;

bool listed(const char* list, const char* name) {
    std::string padded = std::string(" ") + (list ? list : "") + " ";
    return padded.find(std::string(" ") + name + " ") != std::string::npos;
}

int es_major_version() {
    const char* version = reinterpret_cast<const char*>(es().GetString(GL_VERSION));
    int major = 0, minor = 0;
    return version && std::sscanf(version, "OpenGL ES %d.%d", &major, &minor) == 2 ? major * 10 + minor : 0;
}

// Depth and stencil in one buffer: core in ES 3.0, an extension before.
bool packed_depth_stencil() {
    return es_major_version() >= 30 ||
           listed(reinterpret_cast<const char*>(es().GetString(GL_EXTENSIONS)), "GL_OES_packed_depth_stencil");
}

}  // namespace

Context* current() { return current_context; }

std::vector<Mat4>& matrix_stack(Context& c) { return c.matrix_mode == gl_projection ? c.projection : c.modelview; }

bool start(ProcAddress address, std::string* problem) {
    std::string missing;
    if (!api_load(address, &missing)) {
        *problem = "the ES driver has no " + missing;
        return false;
    }
    if (!packed_depth_stencil()) {
        *problem = "the ES driver has no packed depth and stencil buffer (ES 3.0 or GL_OES_packed_depth_stencil)";
        return false;
    }
    // GL_CLAMP reaches the (black) border colour under linear filtering at
    // a texture's edges; ES 3.2 and the border-clamp extensions have it.
    const char* extensions = reinterpret_cast<const char*>(es().GetString(GL_EXTENSIONS));
    border_clamp = es_major_version() >= 32 || listed(extensions, "GL_OES_texture_border_clamp") ||
                   listed(extensions, "GL_EXT_texture_border_clamp");
    driver_address = address;
    started = true;
    pipeline_reset();
    return true;
}

bool active() { return started; }

bool border_clamp_offered() { return border_clamp; }

GLint wrap_mode(GLint mode) {
    if (mode != static_cast<GLint>(gl_clamp)) return mode;
    return border_clamp ? static_cast<GLint>(gl_clamp_to_border) : GL_CLAMP_TO_EDGE;
}

Target* target_create(int width, int height) {
    auto* t = new Target;
    t->width = width;
    t->height = height;
    es().GenTextures(1, &t->colour);
    es().BindTexture(GL_TEXTURE_2D, t->colour);
    es().TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    es().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    es().GenRenderbuffers(1, &t->depth_stencil);
    es().BindRenderbuffer(GL_RENDERBUFFER, t->depth_stencil);
    es().RenderbufferStorage(GL_RENDERBUFFER, gl_depth24_stencil8, width, height);
    es().GenFramebuffers(1, &t->framebuffer);
    es().BindFramebuffer(GL_FRAMEBUFFER, t->framebuffer);
    es().FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t->colour, 0);
    es().FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, t->depth_stencil);
    es().FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, t->depth_stencil);
    bool complete = es().CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    pipeline_reset();
    if (complete) return t;
    target_destroy(t);
    return nullptr;
}

void target_destroy(Target* target) {
    if (!target) return;
    es().DeleteFramebuffers(1, &target->framebuffer);
    es().DeleteRenderbuffers(1, &target->depth_stencil);
    es().DeleteTextures(1, &target->colour);
    pipeline_reset();
    delete target;
}

int target_width(const Target* target) { return target ? target->width : 0; }
int target_height(const Target* target) { return target ? target->height : 0; }

Context* context_create() { return new Context; }

void context_destroy(Context* context) {
    if (context == current_context) current_context = nullptr;
    delete context;
}

void make_current(Context* context, const Target* target) {
    current_context = context;
    if (!context) return;
    // A context's first target sets its viewport, as a window's size does.
    if (!context->target && target) {
        context->raster.viewport[2] = target->width;
        context->raster.viewport[3] = target->height;
    }
    context->target = target;
}

// The render texture shows the target's picture: its own sampling
// parameters go with it.
bool target_image_bind(const Target* target) {
    Context* c = current();
    if (!c || !target) return false;
    const TextureParameters& p = texture_parameters(c->texture);
    bind_texture_name(target->colour);
    es().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, p.mag);
    es().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, p.min);
    es().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap_mode(p.wrap_s));
    es().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap_mode(p.wrap_t));
    c->texture_image = target;
    c->texture_image_name = c->texture;
    return true;
}

bool target_image_release(const Target* target) {
    Context* c = current();
    if (!c || !target) return false;
    if (c->texture_image == target) c->texture_image = nullptr;
    return true;
}

// Framebuffer objects hold their pictures upside down: the blit turns the
// rows over on the way.
bool target_show(const Target* target, int width, int height) {
    using Blit = void (*)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum);
    constexpr GLenum read_framebuffer = 0x8CA8, draw_framebuffer = 0x8CA9;
    static Blit blit = nullptr;
    if (!blit && es_major_version() >= 30) blit = reinterpret_cast<Blit>(driver_address("glBlitFramebuffer"));
    if (!target || !blit) return false;
    es().BindFramebuffer(read_framebuffer, target->framebuffer);
    es().BindFramebuffer(draw_framebuffer, 0);
    blit(0, 0, target->width, target->height, 0, height, width, 0, GL_COLOR_BUFFER_BIT,
         width == target->width && height == target->height ? GL_NEAREST : GL_LINEAR);
    pipeline_reset();
    return true;
}

void* proc_address(const char* name) {
    if (void* address = shader_objects_proc(name)) return address;
    return calls_proc(name);
}

std::string offered_version() {
    return std::string("1.4 heden GL 1.x library on ") + reinterpret_cast<const char*>(es().GetString(GL_VERSION));
}

std::string offered_extensions() { return "GL_ARB_imaging GL_ARB_multitexture GL_ARB_shader_objects"; }

}  // namespace gles
