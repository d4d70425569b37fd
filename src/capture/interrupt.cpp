#include "capture/interrupt.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void note_request(int) { requested = 1; }

// A signal the program was started to ignore (nohup, a background job)
// stays ignored.
void catch_unless_ignored(int signal) {
    if (std::signal(signal, note_request) == SIG_IGN) std::signal(signal, SIG_IGN);
}

}  // namespace

void capture_interrupt_catch() {
    catch_unless_ignored(SIGINT);
    catch_unless_ignored(SIGTERM);
}

bool capture_interrupted() { return requested != 0; }
