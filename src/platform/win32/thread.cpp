#include <windows.h>

#include "platform/platform.h"

namespace platform {

namespace {

struct Start {
    ThreadBody body;
    void* argument;
};

DWORD WINAPI run(LPVOID start) {
    Start s = *static_cast<Start*>(start);
    delete static_cast<Start*>(start);
    s.body(s.argument);
    return 0;
}

}  // namespace

Handle thread_start(ThreadBody body, void* argument) {
    auto* start = new Start{body, argument};
    HANDLE thread = CreateThread(nullptr, 0, run, start, 0, nullptr);
    if (!thread) delete start;
    return reinterpret_cast<Handle>(thread);
}

void thread_join(Handle thread) {
    WaitForSingleObject(reinterpret_cast<HANDLE>(thread), INFINITE);
    CloseHandle(reinterpret_cast<HANDLE>(thread));
}

void sleep_ms(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace platform
