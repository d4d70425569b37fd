#include "log/log.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

bool boxes_to_stderr = false;
int boxes_written = 0;

// Formats into a zero-filled buffer, keeping at most log_max_chars characters.
void format_cut(char* buffer, const char* format, va_list args) {
    std::vsnprintf(buffer, log_max_chars + 1, format, args);
}

// A box's text as lines of its own on stderr, so that a line read alone
// (from a render host, at the end of a log) still says whose it is. The
// blanks and line breaks the texts end with would only leave empty lines.
void write_box_lines(const char* text) {
    std::size_t length = std::strlen(text);
    while (length > 0 && std::isspace(static_cast<unsigned char>(text[length - 1]))) --length;
    std::string lines = "heden: ";
    for (std::size_t i = 0; i < length; ++i) {
        lines += text[i];
        if (text[i] == '\n') lines += "heden: ";
    }
    lines += '\n';
    std::fputs(lines.c_str(), stderr);
    std::fflush(stderr);
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

namespace {

// A box's text where an unattended run shows it, counted.
void box_to_stderr(const char* text) {
    write_box_lines(text);
    ++boxes_written;
}

}  // namespace

void error_box(const char* format, ...) {
    char buffer[1024] = {};
    va_list args;
    va_start(args, format);
    format_cut(buffer, format, args);
    va_end(args);
    if (boxes_to_stderr)
        box_to_stderr(buffer);
    else
        platform::message_box(buffer, "falta del alcalde");
}

void error_unattended(const char* format, ...) {
    if (!boxes_to_stderr) return;
    char buffer[1024] = {};
    va_list args;
    va_start(args, format);
    format_cut(buffer, format, args);
    va_end(args);
    box_to_stderr(buffer);
}

void error_boxes_to_stderr(bool on) {
    boxes_to_stderr = on;
    boxes_written = 0;
}

int error_boxes_written() { return boxes_written; }
