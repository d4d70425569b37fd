#include <cstdio>
#include <string>

#include "log/log.h"
#include "config/settings.h"
#include "gl/glext.h"
#include "platform/platform.h"

int glext_ready;

ext::EntryPoints gl_ext;

namespace {

// Stores a fetched address in a typed slot.
template <typename Slot>
void fill(Slot& slot, void* address) {
    slot = reinterpret_cast<Slot>(address);
}

// Where an entry point comes from: the extension whose string names it, or
// the core version that took it in (0.0: extension only). A name counts
// as found only when the driver offers it so: some drivers hand out an
// address for any name at all.
struct EntryPoint {
    const char* name;
    void (*store)(void* address);
    const char* extension;
    int core_major, core_minor;
};

constexpr const char* shader_objects = "GL_ARB_shader_objects";
constexpr const char* pbuffer = "WGL_ARB_pbuffer";
constexpr const char* render_texture = "WGL_ARB_render_texture";

#define HEDEN_ENTRY(name, extension, major, minor) \
    {#name, [](void* address) { fill(gl_ext.name, address); }, extension, major, minor}
#define HEDEN_SHADER_ENTRY(name) HEDEN_ENTRY(name, shader_objects, 0, 0)

const EntryPoint entry_points[ext::entry_point_count] = {
    HEDEN_ENTRY(glBlendEquation, "GL_ARB_imaging", 1, 4),
    HEDEN_ENTRY(glActiveTexture, "GL_ARB_multitexture", 1, 3),
    HEDEN_ENTRY(glClientActiveTexture, "GL_ARB_multitexture", 1, 3),
    HEDEN_SHADER_ENTRY(glDeleteObjectARB),
    HEDEN_SHADER_ENTRY(glGetHandleARB),
    HEDEN_SHADER_ENTRY(glDetachObjectARB),
    HEDEN_SHADER_ENTRY(glCreateShaderObjectARB),
    HEDEN_SHADER_ENTRY(glShaderSourceARB),
    HEDEN_SHADER_ENTRY(glCompileShaderARB),
    HEDEN_SHADER_ENTRY(glCreateProgramObjectARB),
    HEDEN_SHADER_ENTRY(glAttachObjectARB),
    HEDEN_SHADER_ENTRY(glLinkProgramARB),
    HEDEN_SHADER_ENTRY(glUseProgramObjectARB),
    HEDEN_SHADER_ENTRY(glValidateProgramARB),
    HEDEN_SHADER_ENTRY(glUniform1fARB),
    HEDEN_SHADER_ENTRY(glUniform2fARB),
    HEDEN_SHADER_ENTRY(glUniform3fARB),
    HEDEN_SHADER_ENTRY(glUniform4fARB),
    HEDEN_SHADER_ENTRY(glGetObjectParameterfvARB),
    HEDEN_SHADER_ENTRY(glGetObjectParameterivARB),
    HEDEN_SHADER_ENTRY(glGetInfoLogARB),
    HEDEN_SHADER_ENTRY(glGetAttachedObjectsARB),
    HEDEN_SHADER_ENTRY(glGetUniformLocationARB),
    HEDEN_SHADER_ENTRY(glGetShaderSourceARB),
    HEDEN_ENTRY(wglCreatePbufferARB, pbuffer, 0, 0),
    HEDEN_ENTRY(wglGetPbufferDCARB, pbuffer, 0, 0),
    HEDEN_ENTRY(wglReleasePbufferDCARB, pbuffer, 0, 0),
    HEDEN_ENTRY(wglDestroyPbufferARB, pbuffer, 0, 0),
    HEDEN_ENTRY(wglQueryPbufferARB, pbuffer, 0, 0),
    HEDEN_ENTRY(wglBindTexImageARB, render_texture, 0, 0),
    HEDEN_ENTRY(wglReleaseTexImageARB, render_texture, 0, 0),
    HEDEN_ENTRY(wglSetPbufferAttribARB, render_texture, 0, 0),
    HEDEN_ENTRY(wglChoosePixelFormatARB, "WGL_ARB_pixel_format", 0, 0),
};

#undef HEDEN_SHADER_ENTRY
#undef HEDEN_ENTRY

bool core_has(const std::string& version, int major, int minor) {
    int have_major = 0, have_minor = 0;
    if (major == 0 || std::sscanf(version.c_str(), "%d.%d", &have_major, &have_minor) != 2) return false;
    return have_major > major || (have_major == major && have_minor >= minor);
}

bool offered(const EntryPoint& entry, const platform::GlOffer& offer) {
    const std::string& list = entry.name[0] == 'w' ? offer.wgl_extensions : offer.extensions;
    return platform::lists_extension(list, entry.extension) || core_has(offer.version, entry.core_major, entry.core_minor);
}

}  // namespace

const char* gl_string(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

int ext_load() {
    log_print(" ext | name                     | address   \n");
    log_print("-----+--------------------------+---------- \n");
    log_print("%4i |%26s | 0x%08x \n", 0, "wglGetExtensionsStringARB",
              platform::address_print(reinterpret_cast<void*>(gl_ext.wglGetExtensionsStringARB)));
    platform::GlOffer offer = platform::gl_offer();
    int failures = 0;
    for (int i = 0; i < ext::entry_point_count; ++i) {
        void* address = offered(entry_points[i], offer) ? platform::gl_proc_address(entry_points[i].name) : nullptr;
        entry_points[i].store(address);
        log_print("%4i |%26s | 0x%08x ", i + 1, entry_points[i].name, platform::address_print(address));
        if (address) {
            log_print("\n");
        } else {
            log_print("FAILED \n");
            ++failures;
        }
    }
    if (failures == 0 && settings.glext != 0) glext_ready = 1;
    return failures;
}

int gl_report() {
    log_print(" vendor               | device                               | version\n");
    log_print("----------------------+--------------------------------------+-------------\n");
    log_print(" %20s | %36s | %s \n", gl_string(GL_VENDOR), gl_string(GL_RENDERER), gl_string(GL_VERSION));
    log_print("\n");
    fill(gl_ext.wglGetExtensionsStringARB, platform::gl_proc_address("wglGetExtensionsStringARB"));
    return ext_load();
}
