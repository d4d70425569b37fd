// Builds a GLSL program from a sectioned shader text file.
#pragma once

#include "gl/glext.h"

// Reads, splits, compiles and links; stores the program handle through
// `program` whether or not the build succeeded. Reports on the console.
// True when both shaders compiled and the program linked.
bool shader_builder(const char* path, ext::Handle* program);
