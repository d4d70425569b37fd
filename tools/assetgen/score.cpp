#include "score.h"

#include <cmath>

#include "instruments.h"

std::size_t beat_sample(double beat) {
    return static_cast<std::size_t>(std::llround(beat * 60.0 / beats_per_minute * sample_rate));
}

namespace {

struct Chord {
    std::vector<double> pad;  // voicing
    double root;              // bass note
};

// Two progressions of four chords, each chord held for eight beats: the
// minor home key, and the darker turn of the middle section.
const Chord home[4] = {
    {{57, 60, 64, 71}, 33},  // A minor (add 9)
    {{53, 57, 60, 64}, 29},  // F major 7
    {{55, 60, 64, 67}, 36},  // C major
    {{55, 59, 62, 67}, 31},  // G major
};
const Chord turn[4] = {
    {{50, 53, 57, 62}, 38},  // D minor
    {{50, 53, 58, 62}, 34},  // B flat
    {{50, 55, 58, 62}, 31},  // G minor
    {{49, 52, 57, 64}, 33},  // A major
};

bool in_turn(double beat) { return beat >= 160 && beat < 224; }

const Chord& chord_at(double beat) {
    int index = static_cast<int>(std::floor(beat / 8.0)) % 4;
    return in_turn(beat) ? turn[index] : home[index];
}

// The main theme, 32 beats: (start beat, length, note).
struct Note {
    double beat, length, note;
};
const Note theme[] = {
    {0, 1.5, 69},  {1.5, 0.5, 72}, {2, 1, 76},    {3, 1, 74},    {4, 1, 72},    {5, 0.5, 74}, {5.5, 2.5, 76},
    {8, 1.5, 77},  {9.5, 0.5, 76}, {10, 1, 72},   {11, 1, 69},   {12, 1.5, 72}, {13.5, 0.5, 74}, {14, 2, 72},
    {16, 1.5, 79}, {17.5, 0.5, 76}, {18, 1, 79},  {19, 1, 81},   {20, 1, 79},   {21, 0.5, 76}, {21.5, 0.5, 74},
    {22, 2, 76},   {24, 1.5, 74},  {25.5, 0.5, 71}, {26, 1, 74}, {27, 1, 79},   {28, 1, 76},   {29, 1, 74},
    {30, 2, 71},
};
// The middle section's answer, 16 beats, over D minor.
const Note answer[] = {
    {0, 0.75, 74}, {0.75, 0.75, 77}, {1.5, 1, 81}, {3, 1, 79}, {4, 2, 77},  {6, 0.5, 76}, {6.5, 1.5, 74},
    {8, 0.75, 70}, {8.75, 0.75, 74}, {9.5, 1, 77}, {11, 1, 76}, {12, 2, 73}, {14, 2, 76},
};

template <std::size_t N>
void play_melody(Bus& bus, const Note (&notes)[N], double start, double span, double end, double transpose, double gain) {
    double previous = notes[0].note;
    for (double cycle = start; cycle < end; cycle += span)
        for (const Note& n : notes) {
            double beat = cycle + n.beat;
            if (beat >= end) return;
            double seconds = n.length * 60.0 / beats_per_minute * 0.92;
            lead(bus, beat_sample(beat), seconds, n.note + transpose, previous + transpose, gain);
            previous = n.note;
        }
}

void four_on_the_floor(Stems& s, double from, double to, double gain) {
    for (double b = from; b < to; b += 1) {
        kick(s.drums, beat_sample(b), gain);
        s.kicks.push_back(b);
    }
}

void backbeat(Stems& s, double from, double to, double gain) {
    for (double b = from; b < to; b += 1) {
        int in_bar = static_cast<int>(b) % 4;
        if (in_bar == 1 || in_bar == 3) {
            clap(s.drums, beat_sample(b), gain, static_cast<std::uint32_t>(b));
            snare(s.ambience, beat_sample(b), gain * 0.6, static_cast<std::uint32_t>(b) + 5000);
        }
    }
}

// Off-beat open hats and sixteenth ticks.
void hats(Stems& s, double from, double to, double gain, bool sixteenths) {
    for (double b = from; b < to; b += 0.25) {
        double part = b - std::floor(b);
        auto seed = static_cast<std::uint32_t>(b * 4);
        if (part == 0.5)
            hat(s.drums, beat_sample(b), gain, 0.08, 0.2, seed);
        else if (sixteenths)
            hat(s.drums, beat_sample(b), gain * (part == 0 ? 0.35 : 0.5), 0.025, -0.3, seed);
    }
}

void snare_roll(Stems& s, double from, double to, double step, double gain_from, double gain_to) {
    for (double b = from; b < to; b += step) {
        double u = (b - from) / (to - from);
        auto at = beat_sample(b);
        snare(s.drums, at, gain_from + (gain_to - gain_from) * u, static_cast<std::uint32_t>(b * 16));
    }
}

void pads(Stems& s, double from, double to, double gain, double cutoff_from, double cutoff_to) {
    for (double b = from; b < to; b += 8) {
        double u = (b - from) / (to - from);
        double length = std::min(8.0, to - b) * 60.0 / beats_per_minute;
        pad(s.pads, beat_sample(b), length, chord_at(b).pad, gain, cutoff_from + (cutoff_to - cutoff_from) * u);
    }
}

// Sixteenth arpeggio over the chord, up and down two octaves.
void arpeggio(Stems& s, double from, double to, double gain, double cutoff_from, double cutoff_to) {
    const int pattern[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    int step = 0;
    for (double b = from; b < to; b += 0.25, ++step) {
        const auto& notes = chord_at(b).pad;
        int k = pattern[step % 8];
        double note = notes[static_cast<std::size_t>(k) % notes.size()] + 12 + (k >= 4 ? 12 : 0);
        double u = (b - from) / (to - from);
        double accent = step % 4 == 0 ? 1.0 : 0.7;
        pluck(s.arp, beat_sample(b), note, gain * accent, cutoff_from + (cutoff_to - cutoff_from) * u, step % 2 ? 0.35 : -0.35);
    }
}

// Driving bass: eighths on the off-beats with the root, or rolling sixteenths.
void bassline(Stems& s, double from, double to, double gain, bool rolling) {
    for (double b = from; b < to; b += rolling ? 0.25 : 0.5) {
        double part = b - std::floor(b);
        if (!rolling && part == 0) continue;
        double root = chord_at(b).root;
        int sixteenth = static_cast<int>(std::lround(part * 4));
        double note = root + (rolling && sixteenth == 2 ? 12 : 0);
        double length = (rolling ? 0.2 : 0.4) * 60.0 / beats_per_minute;
        bass(s.bass, beat_sample(b), length, note, gain * (sixteenth == 0 ? 0.8 : 1.0), rolling ? 0.6 : 0.4);
    }
}

// The opening: dark pads opening up, with hits on beats 0, 2, 3 and 6 of
// every eight where the title's light pulses.
void title(Stems& s) {
    pads(s, 0, 48, 0.9, 450, 2600);
    const double accent[8] = {0.55, 0, 0.8, 1.0, 0, 0, 0.3, 0};
    for (double b = 0; b < 44; b += 1) {
        double a = accent[static_cast<int>(b) % 8];
        if (a == 0) continue;
        boom(s.drums, beat_sample(b), 0.75 * a);
        if (b >= 8) stab(s.ambience, beat_sample(b), chord_at(b).pad, 0.35 * a * std::min(1.0, b / 32));
    }
    hats(s, 16, 44, 0.12, false);
    for (double b = 24; b < 44; b += 8) bass(s.bass, beat_sample(b), 8 * 60.0 / beats_per_minute, chord_at(b).root, 0.5, 0.0);
    arpeggio(s, 32, 48, 0.18, 300, 2500);
    snare_roll(s, 44, 46, 0.5, 0.15, 0.3);
    snare_roll(s, 46, 48, 0.25, 0.3, 0.6);
    riser(s.ambience, beat_sample(42), 6 * 60.0 / beats_per_minute, 0.5, 4201);
    tom(s.drums, beat_sample(47), 45, 0.6);
    tom(s.drums, beat_sample(47.5), 40, 0.7);
}

// The canyon and basket cross-cutting: full beat, an accent at every cut.
void cross_cutting(Stems& s) {
    crash(s.drums, beat_sample(48), 0.45, 48);
    four_on_the_floor(s, 48, 94, 0.95);
    backbeat(s, 48, 88, 0.55);
    hats(s, 48, 94, 0.16, true);
    bassline(s, 48, 94, 0.5, false);
    pads(s, 48, 96, 0.55, 2200, 3200);
    arpeggio(s, 48, 96, 0.2, 1800, 4200);
    for (double b = 52; b < 80; b += 4) hat(s.drums, beat_sample(b), 0.3, 0.3, 0.5, static_cast<std::uint32_t>(b));
    for (double b = 80; b < 88; b += 1) {  // cuts every two beats: claps on every beat
        clap(s.drums, beat_sample(b), 0.45, static_cast<std::uint32_t>(b) + 300);
        if (static_cast<int>(b) % 2 == 0) tom(s.drums, beat_sample(b + 0.5), 50 - (b - 80), 0.5);
    }
    snare_roll(s, 88, 92, 0.25, 0.2, 0.45);
    snare_roll(s, 92, 96, 0.125, 0.45, 0.75);
    riser(s.ambience, beat_sample(88), 8 * 60.0 / beats_per_minute, 0.7, 88);
}

// The tunnel: driving drums, rolling bass, the theme on the lead.
void tunnel(Stems& s, double from, double to, bool climax) {
    crash(s.drums, beat_sample(from), 0.5, static_cast<std::uint32_t>(from));
    boom(s.drums, beat_sample(from), 0.6);
    double stop = climax ? to : to - 4;
    four_on_the_floor(s, from, stop, 1.0);
    backbeat(s, from, stop, 0.6);
    hats(s, from, stop, 0.18, true);
    bassline(s, from, stop, 0.55, true);
    pads(s, from, to, 0.5, 2600, 3600);
    arpeggio(s, from, to, 0.17, 2500, 3800);
    play_melody(s.lead, theme, from + 8, 32, stop, 0, 0.32);
    if (climax) {
        play_melody(s.lead, theme, from + 8, 32, stop, 12, 0.12);  // an octave above
        crash(s.drums, beat_sample(from + 32), 0.45, 9);
    } else {
        riser(s.ambience, beat_sample(to - 8), 8 * 60.0 / beats_per_minute, 0.6, 152);
        snare_roll(s, to - 4, to, 0.25, 0.3, 0.8);
    }
}

// The poles: the darker turn, with a chord hit on beats 0, 2, 3, 4 and 6 of
// every eight, where the picture flashes white.
void poles(Stems& s) {
    four_on_the_floor(s, 160, 224, 0.95);
    hats(s, 160, 224, 0.15, true);
    pads(s, 160, 224, 0.55, 1600, 2800);
    const int hits[5] = {0, 2, 3, 4, 6};
    for (double bar = 160; bar < 224; bar += 8) {
        for (int k = 0; k < 5; ++k) {
            double b = bar + hits[k];
            double next = bar + (k + 1 < 5 ? hits[k + 1] : 8);
            const Chord& c = chord_at(b);
            std::vector<double> voicing = c.pad;
            for (double& n : voicing) n += 12;
            stab(s.lead, beat_sample(b), voicing, 0.55);
            bass(s.bass, beat_sample(b), (next - b) * 0.9 * 60.0 / beats_per_minute, c.root, 0.6, 0.8);
            if (k == 0) boom(s.drums, beat_sample(b), 0.45);
        }
        clap(s.drums, beat_sample(bar + 3), 0.5, static_cast<std::uint32_t>(bar));
        clap(s.drums, beat_sample(bar + 7), 0.5, static_cast<std::uint32_t>(bar) + 1);
        if (static_cast<int>(bar - 160) % 32 == 0) crash(s.drums, beat_sample(bar), 0.4, static_cast<std::uint32_t>(bar));
    }
    play_melody(s.lead, answer, 176, 16, 224, 0, 0.26);
    snare_roll(s, 220, 224, 0.25, 0.2, 0.6);
}

// The basket again: a breakdown that builds back into the beat.
void basket(Stems& s) {
    crash(s.drums, beat_sample(224), 0.4, 224);
    pads(s, 224, 256, 0.8, 1200, 3000);
    arpeggio(s, 224, 256, 0.2, 900, 3500);
    hats(s, 224, 240, 0.1, false);
    play_melody(s.lead, theme, 224, 32, 256, -12, 0.22);
    four_on_the_floor(s, 240, 252, 0.9);
    hats(s, 240, 252, 0.16, true);
    bassline(s, 240, 252, 0.5, false);
    snare_roll(s, 248, 252, 0.5, 0.2, 0.4);
    snare_roll(s, 252, 256, 0.125, 0.4, 0.8);
    riser(s.ambience, beat_sample(248), 8 * 60.0 / beats_per_minute, 0.7, 248);
}

// The canyon from above and the outro: the beat falls away, the pads stay
// and the last chord rings into the closing scene.
void ending(Stems& s) {
    crash(s.drums, beat_sample(320), 0.4, 320);
    boom(s.drums, beat_sample(320), 0.6);
    pads(s, 320, 336, 0.9, 2500, 1500);
    arpeggio(s, 320, 340, 0.16, 2000, 700);
    hats(s, 320, 336, 0.08, false);
    for (double b = 320; b < 336; b += 2) bass(s.bass, beat_sample(b), 1.6 * 60.0 / beats_per_minute, chord_at(b).root, 0.4, 0.1);
    boom(s.drums, beat_sample(336), 0.7);
    pad(s.pads, beat_sample(336), 20 * 60.0 / beats_per_minute, home[0].pad, 1.0, 1400);
    bass(s.bass, beat_sample(336), 12 * 60.0 / beats_per_minute, home[0].root, 0.45, 0.0);
    lead(s.lead, beat_sample(336), 6 * 60.0 / beats_per_minute, 69, 72, 0.22);
    lead(s.lead, beat_sample(344), 8 * 60.0 / beats_per_minute, 76, 74, 0.16);
}

}  // namespace

void compose(Stems& stems) {
    title(stems);
    cross_cutting(stems);
    tunnel(stems, 96, 160, false);
    poles(stems);
    basket(stems);
    tunnel(stems, 256, 320, true);
    ending(stems);
}
