#include <windows.h>

#include <ctime>

#include "platform/platform.h"

namespace platform {

// On Windows clock() counts wall-clock milliseconds since the process started.
long process_clock_ms() { return static_cast<long>(std::clock()); }

long long process_id() { return static_cast<long long>(GetCurrentProcessId()); }

void on_display_lost(DisplayLost) {}

}  // namespace platform
