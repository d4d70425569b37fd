#include <time.h>
#include <unistd.h>

#include "platform/platform.h"

namespace {

long long monotonic_ms() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

const long long process_start_ms = monotonic_ms();

}  // namespace

namespace platform {

long process_clock_ms() { return static_cast<long>(monotonic_ms() - process_start_ms); }

long long process_id() { return static_cast<long long>(getpid()); }

}  // namespace platform
