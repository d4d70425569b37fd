#include "log/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {

// Formats into a zero-filled buffer, keeping at most log_max_chars characters.
void format_cut(char* buffer, const char* format, va_list args) {
    std::vsnprintf(buffer, log_max_chars + 1, format, args);
}

}  // namespace

int log_print(const char* format, ...) {
    char buffer[256] = {};
    va_list args;
    va_start(args, format);
    format_cut(buffer, format, args);
    va_end(args);
    platform::console_write(buffer, std::strlen(buffer));
    return 0;
}

void error_box(const char* format, ...) {
    char buffer[1024] = {};
    va_list args;
    va_start(args, format);
    format_cut(buffer, format, args);
    va_end(args);
    platform::message_box(buffer, "falta del alcalde");
}
