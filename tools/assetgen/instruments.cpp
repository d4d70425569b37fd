#include "instruments.h"

#include <cmath>

namespace {

std::size_t samples(double seconds) { return static_cast<std::size_t>(seconds * sample_rate); }

}  // namespace

void kick(Bus& bus, std::size_t at, double gain) {
    if (bus.silent()) return;
    double phase = 0;
    for (std::size_t i = 0; i < samples(0.45); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        double f = 45.0 + 110.0 * std::exp(-t / 0.03) + 300.0 * std::exp(-t / 0.004);
        phase += f / sample_rate;
        double body = std::sin(2 * pi_d * phase) * std::exp(-t / 0.22);
        double click = std::exp(-t / 0.002) * 0.4;
        double v = std::tanh(1.6 * (body + click)) * gain;
        bus.add(at + i, v, v);
    }
}

void snare(Bus& bus, std::size_t at, double gain, std::uint32_t seed) {
    if (bus.silent()) return;
    NoiseSource noise(seed);
    Svf tone;
    double phase = 0;
    for (std::size_t i = 0; i < samples(0.35); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        tone.run(noise.next(), 4200.0, 0.2);
        phase += (185.0 + 40.0 * std::exp(-t / 0.01)) / sample_rate;
        double body = std::sin(2 * pi_d * phase) * std::exp(-t / 0.06) * 0.7;
        double hiss = (tone.band * 1.4 + tone.high * 0.3) * std::exp(-t / 0.09);
        double v = (body + hiss) * gain;
        bus.add(at + i, v * 0.95, v);
    }
}

void clap(Bus& bus, std::size_t at, double gain, std::uint32_t seed) {
    if (bus.silent()) return;
    NoiseSource noise(seed);
    Svf tone;
    for (std::size_t i = 0; i < samples(0.3); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        tone.run(noise.next(), 1500.0, 0.5);
        // Three quick slaps, then the tail.
        double slaps = 0;
        for (int k = 0; k < 3; ++k) {
            double u = t - k * 0.011;
            if (u >= 0) slaps += std::exp(-u / 0.004);
        }
        double env = slaps * 0.6 + std::exp(-t / 0.07) * (t > 0.022 ? 1.0 : 0.0);
        double v = tone.band * env * gain * 1.6;
        bus.add(at + i, v, v * 0.9);
    }
}

void hat(Bus& bus, std::size_t at, double gain, double length, double pan, std::uint32_t seed) {
    if (bus.silent()) return;
    NoiseSource noise(seed);
    Svf tone;
    for (std::size_t i = 0; i < samples(length * 5); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        tone.run(noise.next(), 7500.0, 0.3);
        bus.add_mono(at + i, tone.high * std::exp(-t / length) * gain, pan);
    }
}

void crash(Bus& bus, std::size_t at, double gain, std::uint32_t seed) {
    if (bus.silent()) return;
    NoiseSource left(seed), right(seed + 77);
    Svf tl, tr;
    for (std::size_t i = 0; i < samples(2.6); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        tl.run(left.next(), 5200.0, 0.1);
        tr.run(right.next(), 5200.0, 0.1);
        double env = std::exp(-t / 0.55) * (1 - std::exp(-t / 0.002));
        bus.add(at + i, tl.high * env * gain, tr.high * env * gain);
    }
}

void boom(Bus& bus, std::size_t at, double gain) {
    if (bus.silent()) return;
    double phase = 0;
    NoiseSource noise(991);
    Svf rumble;
    for (std::size_t i = 0; i < samples(1.6); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        phase += (38.0 + 70.0 * std::exp(-t / 0.08)) / sample_rate;
        rumble.run(noise.next(), 240.0, 0.3);
        double v = (std::sin(2 * pi_d * phase) * std::exp(-t / 0.55) + rumble.low * 0.8 * std::exp(-t / 0.3)) * gain;
        v = std::tanh(v * 1.3);
        bus.add(at + i, v, v);
    }
}

void tom(Bus& bus, std::size_t at, double note, double gain) {
    if (bus.silent()) return;
    double phase = 0, base = midi_hz(note);
    for (std::size_t i = 0; i < samples(0.5); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        phase += base * (1.0 + 0.6 * std::exp(-t / 0.04)) / sample_rate;
        double v = std::sin(2 * pi_d * phase) * std::exp(-t / 0.18) * gain;
        bus.add(at + i, v, v);
    }
}

void riser(Bus& bus, std::size_t at, double length, double gain, std::uint32_t seed) {
    if (bus.silent()) return;
    NoiseSource noise(seed);
    Svf sweep;
    for (std::size_t i = 0; i < samples(length); ++i) {
        double u = static_cast<double>(i) / samples(length);
        sweep.run(noise.next(), 300.0 * std::pow(40.0, u), 0.6);
        double v = sweep.band * u * u * gain;
        bus.add(at + i, v * (1 - 0.3 * u), v * (0.7 + 0.3 * u));
    }
}

void bass(Bus& bus, std::size_t at, double length, double note, double gain, double bright) {
    if (bus.silent()) return;
    SawOsc saw;
    PulseOsc square;
    Svf filter;
    double step = midi_hz(note) / sample_rate;
    for (std::size_t i = 0; i < samples(length + 0.08); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        double env = adsr(t, length, 0.003, 0.15, 0.75, 0.02);
        double cutoff = 180.0 + (350.0 + 1400.0 * bright) * std::exp(-t / 0.09);
        filter.run(0.6 * saw.next(step) + 0.5 * square.next(step * 0.5, 0.5), cutoff, 0.55);
        double v = std::tanh(filter.low * 1.5) * env * gain;
        bus.add(at + i, v, v);
    }
}

void pad(Bus& bus, std::size_t at, double length, const std::vector<double>& notes, double gain, double cutoff) {
    if (bus.silent()) return;
    const double detune[5] = {-0.11, -0.05, 0.0, 0.06, 0.12};
    const double pans[5] = {-0.8, 0.5, 0.0, -0.4, 0.8};
    std::size_t total = samples(length + 1.2);
    std::vector<double> left(total, 0.0), right(total, 0.0);
    for (std::size_t n = 0; n < notes.size(); ++n)
        for (int v = 0; v < 5; ++v) {
            SawOsc osc;
            osc.phase = std::fmod(0.137 * v + 0.291 * n, 1.0);
            double step = midi_hz(notes[n] + detune[v]) / sample_rate;
            double l = std::sqrt(0.5 * (1 - pans[v])), r = std::sqrt(0.5 * (1 + pans[v]));
            for (std::size_t i = 0; i < total; ++i) {
                double s = osc.next(step);
                left[i] += s * l;
                right[i] += s * r;
            }
        }
    Svf fl, fr;
    double scale = gain / (notes.size() * 2.2);
    for (std::size_t i = 0; i < total; ++i) {
        double t = static_cast<double>(i) / sample_rate;
        double env = adsr(t, length, 0.35, 1.5, 0.8, 0.35);
        double c = cutoff * (0.7 + 0.3 * env);
        fl.run(left[i], c, 0.2);
        fr.run(right[i], c, 0.2);
        bus.add(at + i, fl.low * env * scale, fr.low * env * scale);
    }
}

void pluck(Bus& bus, std::size_t at, double note, double gain, double cutoff, double pan) {
    if (bus.silent()) return;
    SawOsc a, b;
    b.phase = 0.31;
    Svf filter;
    double fa = midi_hz(note) / sample_rate, fb = midi_hz(note + 0.08) / sample_rate;
    for (std::size_t i = 0; i < samples(0.45); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        filter.run(0.5 * (a.next(fa) + b.next(fb)), 200.0 + cutoff * std::exp(-t / 0.07), 0.35);
        double v = filter.low * std::exp(-t / 0.16) * (1 - std::exp(-t / 0.002)) * gain;
        bus.add_mono(at + i, v, pan);
    }
}

void lead(Bus& bus, std::size_t at, double length, double note, double from_note, double gain) {
    if (bus.silent()) return;
    PulseOsc a;
    SawOsc b;
    Svf filter;
    for (std::size_t i = 0; i < samples(length + 0.3); ++i) {
        double t = static_cast<double>(i) / sample_rate;
        double glide = from_note + (note - from_note) * (1 - std::exp(-t / 0.025));
        double vibrato = 0.18 * std::sin(2 * pi_d * 5.5 * t) * (1 - std::exp(-t / 0.35));
        double f = midi_hz(glide + vibrato) / sample_rate;
        double env = adsr(t, length, 0.01, 0.4, 0.7, 0.12);
        filter.run(0.6 * a.next(f, 0.3 + 0.1 * std::sin(2 * pi_d * 0.7 * t)) + 0.4 * b.next(f * 1.003), 900.0 + 3200.0 * env, 0.25);
        double v = filter.low * env * gain;
        bus.add(at + i, v, v);
    }
}

void stab(Bus& bus, std::size_t at, const std::vector<double>& notes, double gain) {
    if (bus.silent()) return;
    for (std::size_t n = 0; n < notes.size(); ++n) {
        SawOsc a, b;
        b.phase = 0.5;
        Svf filter;
        double fa = midi_hz(notes[n] - 0.07) / sample_rate, fb = midi_hz(notes[n] + 0.07) / sample_rate;
        double pan = notes.size() > 1 ? -0.6 + 1.2 * n / (notes.size() - 1) : 0.0;
        for (std::size_t i = 0; i < samples(0.6); ++i) {
            double t = static_cast<double>(i) / sample_rate;
            filter.run(0.5 * (a.next(fa) + b.next(fb)), 300.0 + 5000.0 * std::exp(-t / 0.08), 0.3);
            double v = filter.low * std::exp(-t / 0.2) * gain / notes.size() * 1.8;
            bus.add_mono(at + i, v, pan);
        }
    }
}
