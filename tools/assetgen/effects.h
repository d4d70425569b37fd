// Effects and mastering of the soundtrack's buses.
#pragma once

#include <vector>

#include "synth.h"

// A stereo room reverb (parallel combs into series allpasses per channel);
// returns only the wet signal.
Bus reverb(const Bus& in, double room, double damping);

// Ping-pong echo: `delay` seconds, `feedback` per repeat, wet only.
Bus ping_pong(const Bus& in, double delay, double feedback, double tone_hz);

// Multiplies both channels by a gain curve, one value per sample.
void apply_gain(Bus& bus, const std::vector<float>& gain);

// Mixes `from` into `into` with a gain.
void mix_into(Bus& into, const Bus& from, double gain);

// Integrated loudness (LUFS, K-weighted and gated) of a stereo signal.
double integrated_loudness(const Bus& bus);

// Look-ahead peak limiter: no sample beyond `ceiling` (linear), gain changes
// smoothed over a few milliseconds.
void limit_peaks(Bus& bus, double ceiling);
