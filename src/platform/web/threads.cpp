// Threads without shared-memory workers (those need a page served with
// cross-origin isolation): each thread is a fiber on the page's one thread.
// A thread runs until it sleeps; the main thread lets them all run each time
// it waits and before it hands the browser its turn.
#include <emscripten.h>
#include <emscripten/fiber.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/web/web_state.h"

namespace {

constexpr std::size_t c_stack_size = 256 * 1024;
constexpr std::size_t unwind_stack_size = 64 * 1024;

struct Fiber {
    emscripten_fiber_t fiber;
    std::vector<char> c_stack = std::vector<char>(c_stack_size);
    std::vector<char> unwind_stack = std::vector<char>(unwind_stack_size);
    platform::ThreadBody body = nullptr;
    void* argument = nullptr;
    bool finished = false;
};

struct Main {
    emscripten_fiber_t fiber;
    std::vector<char> unwind_stack = std::vector<char>(unwind_stack_size);
    bool made = false;
};

Main main_fiber;
std::vector<std::unique_ptr<Fiber>> fibers;
Fiber* running = nullptr;  // null: the main thread runs

void back_to_main() { emscripten_fiber_swap(&running->fiber, &main_fiber.fiber); }

void fiber_entry(void* argument) {
    auto* f = static_cast<Fiber*>(argument);
    f->body(f->argument);
    f->finished = true;
    back_to_main();  // never comes back: a finished fiber is not resumed
}

// The browser gets the main thread until the next animation frame.
EM_ASYNC_JS(void, animation_frame, (), { await new Promise(resolve => requestAnimationFrame(resolve)); });

}  // namespace

namespace web {

void threads_run() {
    if (running) return;
    if (!main_fiber.made) {
        emscripten_fiber_init_from_current_context(&main_fiber.fiber, main_fiber.unwind_stack.data(),
                                                   main_fiber.unwind_stack.size());
        main_fiber.made = true;
    }
    for (auto& f : fibers) {
        if (f->finished) continue;
        running = f.get();
        emscripten_fiber_swap(&main_fiber.fiber, &f->fiber);
        running = nullptr;
    }
}

void yield_frame() {
    threads_run();
    animation_frame();
}

void yield_ms(int milliseconds) {
    threads_run();
    emscripten_sleep(milliseconds > 0 ? milliseconds : 0);
}

}  // namespace web

namespace platform {

Handle thread_start(ThreadBody body, void* argument) {
    auto f = std::make_unique<Fiber>();
    f->body = body;
    f->argument = argument;
    emscripten_fiber_init(&f->fiber, fiber_entry, f.get(), f->c_stack.data(), f->c_stack.size(),
                          f->unwind_stack.data(), f->unwind_stack.size());
    fibers.push_back(std::move(f));
    return reinterpret_cast<Handle>(fibers.back().get());
}

void thread_join(Handle thread) {
    auto* f = reinterpret_cast<Fiber*>(thread);
    while (!f->finished) web::threads_run();
    for (auto it = fibers.begin(); it != fibers.end(); ++it)
        if (it->get() == f) {
            fibers.erase(it);
            return;
        }
}

// A thread's sleep ends when the main thread next waits; the main thread's
// sleep lets the threads and the browser run.
void sleep_ms(int milliseconds) {
    if (running)
        back_to_main();
    else
        web::yield_ms(milliseconds);
}

// A page is a process of its own, with its own files (in memory).
long long process_id() { return getpid(); }

// The page's canvas cannot lose its display.
void on_display_lost(DisplayLost) {}

long process_clock_ms() {
    static const double start = emscripten_get_now();
    return static_cast<long>(emscripten_get_now() - start);
}

}  // namespace platform
