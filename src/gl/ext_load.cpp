#include <cstdint>

#include "log/log.h"
#include "config/settings.h"
#include "gl/glext.h"
#include "platform/platform.h"

int glext_ready;

namespace ext {

const char*(HEDEN_GLAPI* wglGetExtensionsStringARB)(void*);
void(HEDEN_GLAPI* glBlendEquation)(GLenum);
void(HEDEN_GLAPI* glActiveTexture)(GLenum);
void(HEDEN_GLAPI* glClientActiveTexture)(GLenum);
void(HEDEN_GLAPI* glDeleteObjectARB)(Handle);
Handle(HEDEN_GLAPI* glGetHandleARB)(GLenum);
void(HEDEN_GLAPI* glDetachObjectARB)(Handle, Handle);
Handle(HEDEN_GLAPI* glCreateShaderObjectARB)(GLenum);
void(HEDEN_GLAPI* glShaderSourceARB)(Handle, GLsizei, const char**, const GLint*);
void(HEDEN_GLAPI* glCompileShaderARB)(Handle);
Handle(HEDEN_GLAPI* glCreateProgramObjectARB)();
void(HEDEN_GLAPI* glAttachObjectARB)(Handle, Handle);
void(HEDEN_GLAPI* glLinkProgramARB)(Handle);
void(HEDEN_GLAPI* glUseProgramObjectARB)(Handle);
void(HEDEN_GLAPI* glValidateProgramARB)(Handle);
void(HEDEN_GLAPI* glUniform1fARB)(GLint, GLfloat);
void(HEDEN_GLAPI* glUniform2fARB)(GLint, GLfloat, GLfloat);
void(HEDEN_GLAPI* glUniform3fARB)(GLint, GLfloat, GLfloat, GLfloat);
void(HEDEN_GLAPI* glUniform4fARB)(GLint, GLfloat, GLfloat, GLfloat, GLfloat);
void(HEDEN_GLAPI* glGetObjectParameterfvARB)(Handle, GLenum, GLfloat*);
void(HEDEN_GLAPI* glGetObjectParameterivARB)(Handle, GLenum, GLint*);
void(HEDEN_GLAPI* glGetInfoLogARB)(Handle, GLsizei, GLsizei*, char*);
void(HEDEN_GLAPI* glGetAttachedObjectsARB)(Handle, GLsizei, GLsizei*, Handle*);
GLint(HEDEN_GLAPI* glGetUniformLocationARB)(Handle, const char*);
void(HEDEN_GLAPI* glGetShaderSourceARB)(Handle, GLsizei, GLsizei*, char*);
void*(HEDEN_GLAPI* wglCreatePbufferARB)(void*, int, int, int, const int*);
void*(HEDEN_GLAPI* wglGetPbufferDCARB)(void*);
int(HEDEN_GLAPI* wglReleasePbufferDCARB)(void*, void*);
Bool(HEDEN_GLAPI* wglDestroyPbufferARB)(void*);
Bool(HEDEN_GLAPI* wglQueryPbufferARB)(void*, int, int*);
Bool(HEDEN_GLAPI* wglBindTexImageARB)(void*, int);
Bool(HEDEN_GLAPI* wglReleaseTexImageARB)(void*, int);
Bool(HEDEN_GLAPI* wglSetPbufferAttribARB)(void*, const int*);
Bool(HEDEN_GLAPI* wglChoosePixelFormatARB)(void*, const int*, const float*, unsigned, int*, unsigned*);

}  // namespace ext

namespace {

// Stores a fetched address in a typed slot.
template <typename Slot>
void fill(Slot& slot, void* address) {
    slot = reinterpret_cast<Slot>(address);
}

struct EntryPoint {
    const char* name;
    void (*store)(void* address);
};

#define HEDEN_ENTRY(name) {#name, [](void* address) { fill(ext::name, address); }}

const EntryPoint entry_points[ext::entry_point_count] = {
    HEDEN_ENTRY(glBlendEquation),         HEDEN_ENTRY(glActiveTexture),
    HEDEN_ENTRY(glClientActiveTexture),   HEDEN_ENTRY(glDeleteObjectARB),
    HEDEN_ENTRY(glGetHandleARB),          HEDEN_ENTRY(glDetachObjectARB),
    HEDEN_ENTRY(glCreateShaderObjectARB), HEDEN_ENTRY(glShaderSourceARB),
    HEDEN_ENTRY(glCompileShaderARB),      HEDEN_ENTRY(glCreateProgramObjectARB),
    HEDEN_ENTRY(glAttachObjectARB),       HEDEN_ENTRY(glLinkProgramARB),
    HEDEN_ENTRY(glUseProgramObjectARB),   HEDEN_ENTRY(glValidateProgramARB),
    HEDEN_ENTRY(glUniform1fARB),          HEDEN_ENTRY(glUniform2fARB),
    HEDEN_ENTRY(glUniform3fARB),          HEDEN_ENTRY(glUniform4fARB),
    HEDEN_ENTRY(glGetObjectParameterfvARB), HEDEN_ENTRY(glGetObjectParameterivARB),
    HEDEN_ENTRY(glGetInfoLogARB),         HEDEN_ENTRY(glGetAttachedObjectsARB),
    HEDEN_ENTRY(glGetUniformLocationARB), HEDEN_ENTRY(glGetShaderSourceARB),
    HEDEN_ENTRY(wglCreatePbufferARB),     HEDEN_ENTRY(wglGetPbufferDCARB),
    HEDEN_ENTRY(wglReleasePbufferDCARB),  HEDEN_ENTRY(wglDestroyPbufferARB),
    HEDEN_ENTRY(wglQueryPbufferARB),      HEDEN_ENTRY(wglBindTexImageARB),
    HEDEN_ENTRY(wglReleaseTexImageARB),   HEDEN_ENTRY(wglSetPbufferAttribARB),
    HEDEN_ENTRY(wglChoosePixelFormatARB),
};

#undef HEDEN_ENTRY

unsigned address_print(const void* address) { return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(address)); }

}  // namespace

const char* gl_string(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

int ext_load() {
    log_print(" ext | name                     | address   \n");
    log_print("-----+--------------------------+---------- \n");
    log_print("%4i |%26s | 0x%08x \n", 0, "wglGetExtensionsStringARB",
              address_print(reinterpret_cast<void*>(ext::wglGetExtensionsStringARB)));
    int failures = 0;
    for (int i = 0; i < ext::entry_point_count; ++i) {
        void* address = platform::gl_proc_address(entry_points[i].name);
        entry_points[i].store(address);
        log_print("%4i |%26s | 0x%08x ", i + 1, entry_points[i].name, address_print(address));
        if (address) {
            log_print("\n");
        } else {
            log_print("FAILED \n");
            ++failures;
        }
    }
    if (failures == 0 && glext != 0) glext_ready = 1;
    return failures;
}

int gl_report() {
    log_print(" vendor               | device                               | version\n");
    log_print("----------------------+--------------------------------------+-------------\n");
    log_print(" %20s | %36s | %s \n", gl_string(GL_VENDOR), gl_string(GL_RENDERER), gl_string(GL_VERSION));
    log_print("\n");
    fill(ext::wglGetExtensionsStringARB, platform::gl_proc_address("wglGetExtensionsStringARB"));
    return ext_load();
}
