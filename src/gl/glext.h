// Entry points beyond OpenGL 1.1, fetched at run time, and the flag that says
// whether the rest of the program may use them.
#pragma once

#include <GL/gl.h>

#ifdef _WIN32
#define HEDEN_GLAPI __stdcall
#else
#define HEDEN_GLAPI
#endif

#ifndef GL_VERTEX_SHADER_ARB
#define GL_VERTEX_SHADER_ARB 0x8B31
#define GL_FRAGMENT_SHADER_ARB 0x8B30
#define GL_OBJECT_COMPILE_STATUS_ARB 0x8B81
#define GL_OBJECT_LINK_STATUS_ARB 0x8B82
#define GL_OBJECT_INFO_LOG_LENGTH_ARB 0x8B84
#endif
#ifndef GL_MULTISAMPLE_ARB
#define GL_MULTISAMPLE_ARB 0x809D
#endif
#ifndef GL_MULTISAMPLE_FILTER_HINT_NV
#define GL_MULTISAMPLE_FILTER_HINT_NV 0x8534
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

// Set when every entry point was found and the glext setting is on; every
// use of shaders, render targets and render textures is guarded by it.
extern int glext_ready;

namespace ext {

using Handle = unsigned int;  // an ARB shader or program object
using Bool = int;

// The slots, typed after the ARB and WGL extension specifications, in one
// record that ext_load fills. Device contexts and pbuffers are opaque
// pointers.
struct EntryPoints {
    const char*(HEDEN_GLAPI* wglGetExtensionsStringARB)(void* dc);
    void(HEDEN_GLAPI* glBlendEquation)(GLenum mode);
    void(HEDEN_GLAPI* glActiveTexture)(GLenum texture);
    void(HEDEN_GLAPI* glClientActiveTexture)(GLenum texture);
    void(HEDEN_GLAPI* glDeleteObjectARB)(Handle object);
    Handle(HEDEN_GLAPI* glGetHandleARB)(GLenum name);
    void(HEDEN_GLAPI* glDetachObjectARB)(Handle program, Handle shader);
    Handle(HEDEN_GLAPI* glCreateShaderObjectARB)(GLenum type);
    void(HEDEN_GLAPI* glShaderSourceARB)(Handle shader, GLsizei count, const char** lines, const GLint* lengths);
    void(HEDEN_GLAPI* glCompileShaderARB)(Handle shader);
    Handle(HEDEN_GLAPI* glCreateProgramObjectARB)();
    void(HEDEN_GLAPI* glAttachObjectARB)(Handle program, Handle shader);
    void(HEDEN_GLAPI* glLinkProgramARB)(Handle program);
    void(HEDEN_GLAPI* glUseProgramObjectARB)(Handle program);
    void(HEDEN_GLAPI* glValidateProgramARB)(Handle program);
    void(HEDEN_GLAPI* glUniform1fARB)(GLint location, GLfloat v0);
    void(HEDEN_GLAPI* glUniform2fARB)(GLint location, GLfloat v0, GLfloat v1);
    void(HEDEN_GLAPI* glUniform3fARB)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2);
    void(HEDEN_GLAPI* glUniform4fARB)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3);
    void(HEDEN_GLAPI* glGetObjectParameterfvARB)(Handle object, GLenum name, GLfloat* value);
    void(HEDEN_GLAPI* glGetObjectParameterivARB)(Handle object, GLenum name, GLint* value);
    void(HEDEN_GLAPI* glGetInfoLogARB)(Handle object, GLsizei size, GLsizei* length, char* log);
    void(HEDEN_GLAPI* glGetAttachedObjectsARB)(Handle program, GLsizei max, GLsizei* count, Handle* objects);
    GLint(HEDEN_GLAPI* glGetUniformLocationARB)(Handle program, const char* name);
    void(HEDEN_GLAPI* glGetShaderSourceARB)(Handle shader, GLsizei size, GLsizei* length, char* source);
    void*(HEDEN_GLAPI* wglCreatePbufferARB)(void* dc, int format, int width, int height, const int* attributes);
    void*(HEDEN_GLAPI* wglGetPbufferDCARB)(void* pbuffer);
    int(HEDEN_GLAPI* wglReleasePbufferDCARB)(void* pbuffer, void* dc);
    Bool(HEDEN_GLAPI* wglDestroyPbufferARB)(void* pbuffer);
    Bool(HEDEN_GLAPI* wglQueryPbufferARB)(void* pbuffer, int attribute, int* value);
    Bool(HEDEN_GLAPI* wglBindTexImageARB)(void* pbuffer, int buffer);
    Bool(HEDEN_GLAPI* wglReleaseTexImageARB)(void* pbuffer, int buffer);
    Bool(HEDEN_GLAPI* wglSetPbufferAttribARB)(void* pbuffer, const int* attributes);
    Bool(HEDEN_GLAPI* wglChoosePixelFormatARB)(void* dc, const int* int_attributes, const float* float_attributes,
                                               unsigned max_formats, int* formats, unsigned* count);
};

constexpr int entry_point_count = 33;

}  // namespace ext

// The entry points of the run.
extern ext::EntryPoints gl_ext;

// Prints the driver's identity and runs ext_load; needs a current context.
// Returns the number of entry points not found.
int gl_report();

// Fills the 33 slots, prints the table and decides glext_ready; returns the
// number of entry points not found.
int ext_load();

// A GL string, or "" when the driver gives none.
const char* gl_string(GLenum name);
