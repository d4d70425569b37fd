// The OpenGL ES 2.0 entry points the library draws with, fetched by name
// from the driver once a context exists. The library never calls a GL name
// directly: in the program every such name is the library's own.
#pragma once

#include <GLES2/gl2.h>

#include <string>

namespace gles {

#define HEDEN_ES_FUNCTIONS(X)                                                                                    \
    X(ActiveTexture) X(AttachShader) X(BindAttribLocation) X(BindBuffer) X(BindFramebuffer) X(BindRenderbuffer) \
    X(BindTexture) X(BlendEquation) X(BlendFunc) X(BufferData) X(CheckFramebufferStatus) X(Clear)             \
    X(ClearColor) X(ClearStencil) X(ColorMask) X(CompileShader) X(CreateProgram) X(CreateShader) X(CullFace)   \
    X(DeleteBuffers) X(DeleteFramebuffers) X(DeleteProgram) X(DeleteRenderbuffers) X(DeleteShader)            \
    X(DeleteTextures) X(DepthFunc) X(DepthMask) X(DetachShader) X(Disable) X(DisableVertexAttribArray)         \
    X(DrawArrays) X(Enable) X(EnableVertexAttribArray) X(Finish) X(FramebufferRenderbuffer)          \
    X(FramebufferTexture2D) X(FrontFace) X(GenBuffers) X(GenFramebuffers) X(GenRenderbuffers) X(GenTextures)   \
    X(GetAttachedShaders) X(GetError) X(GetProgramInfoLog) X(GetProgramiv) X(GetShaderInfoLog)                \
    X(GetShaderSource) X(GetShaderiv) X(GetString) X(GetUniformLocation) X(IsProgram) X(LinkProgram)          \
    X(PixelStorei) X(ReadPixels) X(RenderbufferStorage) X(ShaderSource) X(StencilFunc) X(StencilOp)           \
    X(TexImage2D) X(TexParameteri) X(Uniform1f) X(Uniform1i) X(Uniform2f) X(Uniform3f) X(Uniform4f)            \
    X(Uniform4fv) X(UniformMatrix3fv) X(UniformMatrix4fv) X(UseProgram) X(ValidateProgram) X(VertexAttrib4f) \
    X(VertexAttribPointer) X(Viewport)

struct Api {
#define HEDEN_ES_SLOT(name) decltype(&::gl##name) name = nullptr;
    HEDEN_ES_FUNCTIONS(HEDEN_ES_SLOT)
#undef HEDEN_ES_SLOT
};

// The driver's entry points of the run.
Api& es();

using ProcAddress = void* (*)(const char* name);

// Fills `es`; false with the first missing name in `missing`.
bool api_load(ProcAddress address, std::string* missing);

}  // namespace gles
