// A GL call, or a use of one, that the library does not implement is a
// programming error: it names itself, never passing as a silent no-op.
#pragma once

#include <GLES2/gl2.h>

namespace gles {

// Debug builds stop at an assertion; release builds write one line on
// standard error for each call and argument, the first time.
void unimplemented(const char* call, GLenum argument = 0);

}  // namespace gles
