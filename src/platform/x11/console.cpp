// The console is the process's standard output, written once allocated.
#include <cstdio>

#include "platform/platform.h"

namespace {
bool console_open = false;
}

namespace platform {

bool console_allocate() {
    console_open = true;
    return true;
}

bool console_set_title(const char* title) {
    // An xterm-style title sequence only makes sense on a terminal.
    return title != nullptr;
}

void console_write(const char* text, std::size_t length) {
    if (!console_open) return;
    std::fwrite(text, 1, length, stdout);
    std::fflush(stdout);
}

}  // namespace platform
