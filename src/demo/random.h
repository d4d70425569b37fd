// The one pseudo-random sequence of the run: the grain texture is generated
// from it at start-up and the frames draw their jitter from it. It is never
// reset, so every draw continues the same sequence: start-up draws from
// rand_state, the frames from the copy their state carries on from there.
#pragma once

#include <cstdint>

// Where the sequence stands when the program starts.
constexpr std::uint32_t rand_start = 480764368u;

// The sequence as start-up leaves it.
extern std::uint32_t rand_state;

// Moves the sequence on by `a`.
void rand_seed(unsigned a);
// A number in [lo, hi); callers pass hi > lo (an empty range returns lo).
unsigned rand_range(unsigned lo, unsigned hi);
// The same, drawn from the sequence standing at `state`.
unsigned rand_range(std::uint32_t& state, unsigned lo, unsigned hi);
