#include <thread>

#include "platform/platform.h"

namespace platform {

Handle thread_start(ThreadBody body, void* argument) {
    return reinterpret_cast<Handle>(new std::thread(body, argument));
}

void thread_join(Handle thread) {
    auto* t = reinterpret_cast<std::thread*>(thread);
    t->join();
    delete t;
}

void sleep_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace platform
