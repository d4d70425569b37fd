#include "gles/report.h"

#include <cassert>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

namespace gles {

void unimplemented(const char* call, GLenum argument) {
    static std::set<std::pair<std::string, GLenum>> said;
    if (!said.insert({call, argument}).second) return;
    std::fprintf(stderr, "heden: the GL library does not implement %s (0x%04x)\n", call, argument);
    assert(!"a GL call the library does not implement");
}

}  // namespace gles
