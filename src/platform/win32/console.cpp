#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool console_allocate() { return AllocConsole() != 0; }

bool console_set_title(const char* title) { return SetConsoleTitleA(title) != 0; }

void console_write(const char* text, std::size_t length) {
    DWORD written = 0;
    WriteConsoleA(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
}

void message_box(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_ICONERROR); }

}  // namespace platform
