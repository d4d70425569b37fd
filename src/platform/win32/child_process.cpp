#include "platform/platform.h"

namespace platform {

// The Windows build does not start or feed other programs: video capture is
// a feature of the Linux build.
bool child_processes_supported() { return false; }

ChildStart child_start(char* const*, const char*, ChildProcess*, int* error) {
    *error = 0;
    return ChildStart::not_started;
}

bool child_write(ChildProcess*, const void*, std::size_t) { return false; }

int child_finish(ChildProcess*) { return -1; }

}  // namespace platform
