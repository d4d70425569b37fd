// The decoders' only route to the OS is the log; fuzzing needs it silent.
#include "platform/platform.h"

namespace platform {

void console_write(const char*, std::size_t) {}
void message_box(const char*, const char*) {}

}  // namespace platform
