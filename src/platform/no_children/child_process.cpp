// Backends that start and feed no other programs (Windows, the browser):
// video capture is a feature of the Linux build; stills work everywhere.
#include <cerrno>

#include "platform/platform.h"

namespace platform {

bool child_processes_supported() { return false; }

ChildStart child_start(char* const*, const char*, ChildProcess*, int* error) {
    *error = ENOSYS;
    return ChildStart::not_started;
}

bool child_write(ChildProcess*, const void*, std::size_t) { return false; }

int child_finish(ChildProcess*) { return -1; }

}  // namespace platform
