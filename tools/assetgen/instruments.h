// The soundtrack's instruments. Each renders one note or hit into a bus,
// starting at sample `at`.
#pragma once

#include <cstddef>
#include <vector>

#include "synth.h"

void kick(Bus& bus, std::size_t at, double gain);
void snare(Bus& bus, std::size_t at, double gain, std::uint32_t seed);
void clap(Bus& bus, std::size_t at, double gain, std::uint32_t seed);
void hat(Bus& bus, std::size_t at, double gain, double length, double pan, std::uint32_t seed);
void crash(Bus& bus, std::size_t at, double gain, std::uint32_t seed);
// A deep hit with a falling pitch: the title's accents.
void boom(Bus& bus, std::size_t at, double gain);
void tom(Bus& bus, std::size_t at, double note, double gain);
// Noise swept upwards over `length` seconds into a downbeat.
void riser(Bus& bus, std::size_t at, double length, double gain, std::uint32_t seed);

// Resonant saw-and-square bass; `bright` 0..1 opens the filter envelope.
void bass(Bus& bus, std::size_t at, double length, double note, double gain, double bright);
// Detuned saw pad chord with a slow attack; `cutoff` in Hz.
void pad(Bus& bus, std::size_t at, double length, const std::vector<double>& notes, double gain, double cutoff);
// Short plucked saw, for arpeggios.
void pluck(Bus& bus, std::size_t at, double note, double gain, double cutoff, double pan);
// Pulse lead with vibrato and a soft glide in from the previous note.
void lead(Bus& bus, std::size_t at, double length, double note, double from_note, double gain);
// A bright chord hit with a fast filter decay.
void stab(Bus& bus, std::size_t at, const std::vector<double>& notes, double gain);
