#include "demo/random.h"

std::uint32_t rand_state = rand_start;

void rand_seed(unsigned a) { rand_state += a; }

unsigned rand_range(unsigned lo, unsigned hi) { return rand_range(rand_state, lo, hi); }

unsigned rand_range(std::uint32_t& state, unsigned lo, unsigned hi) {
    // The product wraps at 32 bits before the modulo.
    state = (state * 1371u + 271u) % 65537u;
    if (hi <= lo) return lo;
    return lo + state % (hi - lo);
}
