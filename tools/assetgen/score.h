// The arrangement: which instrument plays what, beat by beat. 152 beats per
// minute in 4/4, 356 beats of music; the sections follow the demo's scenes.
#pragma once

#include <cstddef>
#include <vector>

#include "synth.h"

constexpr double beats_per_minute = 152.0;
constexpr double music_beats = 356.0;
constexpr double tail_seconds = 1.5;

// Sample index of a beat.
std::size_t beat_sample(double beat);

// The instruments' buses before effects and mastering.
struct Stems {
    Bus drums, ambience, bass, pads, arp, lead;
    std::vector<double> kicks;  // beats with a kick, for the side-chain
    explicit Stems(std::size_t length)
        : drums(length), ambience(length), bass(length), pads(length), arp(length), lead(length) {}

    static constexpr int count = 6;
    Bus& stem(int k) {
        Bus* all[count] = {&drums, &ambience, &bass, &pads, &arp, &lead};
        return *all[k];
    }
    // Only stem `k` has its length; the others are silent, so composing
    // into it renders that stem alone, sample for sample as in a full run.
    static Stems only(std::size_t length, int k) {
        Stems s(0);
        s.stem(k) = Bus(length);
        return s;
    }
};

void compose(Stems& stems);
