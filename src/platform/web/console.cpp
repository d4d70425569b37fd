// The console is the browser's (standard output goes there line by line);
// an error box is a line on the browser's console and a note on the page,
// and does not wait: a page has no modal box that holds the program.
#include <emscripten.h>

#include <cstdio>

#include "platform/platform.h"

namespace platform {

bool console_allocate() { return true; }
bool console_set_title(const char*) { return true; }

void console_write(const char* text, std::size_t length) {
    std::fwrite(text, 1, length, stdout);
    std::fflush(stdout);
}

void message_box(const char* text, const char* caption) {
    EM_ASM({ Module.heden.box(UTF8ToString($0), UTF8ToString($1)); }, text, caption);
}

}  // namespace platform
