// The ARB shader-object calls over ES shaders and programs. Shader texts
// written for desktop GLSL are translated as they load: ftransform(),
// gl_Vertex and gl_MultiTexCoord0 become the library's own inputs, the
// fragment stage gets a precision and samples with GL_CLAMP where asked.
#pragma once

#include <GLES2/gl2.h>

#include <string>

#include "gles/matrix.h"
#include "gles/state.h"

namespace gles {

// The text ES compiles for a desktop shader text of the given stage.
std::string shader_translate(GLenum type, const std::string& text);

// Before a draw with a translated program: its transform, whether the
// bound texture is a render target's picture (stored upside down), and the
// bound texture's sampling parameters.
void shader_objects_transform(GLuint program, const Mat4& mvp, bool flipped_texture, const TextureParameters& texture);

// The ARB entry point of that name, null when the library has none.
void* shader_objects_proc(const char* name);

}  // namespace gles
