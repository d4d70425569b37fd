// Building blocks of the soundtrack's synthesizer: oscillators, filters and
// envelopes, all deterministic.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

constexpr int sample_rate = 44100;
constexpr double pi_d = 3.14159265358979323846;

inline double midi_hz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Band-limited sawtooth by polyBLEP; `phase` in [0, 1), `step` = f / rate.
inline double poly_blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

struct SawOsc {
    double phase = 0;
    double next(double step) {
        double v = 2.0 * phase - 1.0 - poly_blep(phase, step);
        phase += step;
        if (phase >= 1.0) phase -= 1.0;
        return v;
    }
};

struct PulseOsc {
    double phase = 0;
    double next(double step, double width) {
        double v = (phase < width ? 1.0 : -1.0) + poly_blep(phase, step);
        double shifted = phase + (1.0 - width);
        if (shifted >= 1.0) shifted -= 1.0;
        v -= poly_blep(shifted, step);
        phase += step;
        if (phase >= 1.0) phase -= 1.0;
        return v;
    }
};

// Trapezoidal state-variable filter (lowpass, bandpass, highpass outputs).
struct Svf {
    double ic1 = 0, ic2 = 0;
    double low = 0, band = 0, high = 0;
    // The tangent of the last cutoff: most voices hold theirs for many samples.
    double last_cutoff = -1, last_g = 0;
    void run(double x, double cutoff_hz, double resonance) {
        if (cutoff_hz != last_cutoff) {
            last_cutoff = cutoff_hz;
            last_g = std::tan(pi_d * std::fmin(cutoff_hz, sample_rate * 0.45) / sample_rate);
        }
        double g = last_g;
        double k = 2.0 - 2.0 * resonance;  // resonance 0 .. <1
        double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        double v3 = x - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        low = v2;
        band = v1;
        high = x - k * v1 - v2;
    }
};

// White noise from a small deterministic generator, in [−1, 1).
struct NoiseSource {
    std::uint32_t state;
    explicit NoiseSource(std::uint32_t seed) : state(seed * 2654435761u + 1u) {}
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// Attack, decay to sustain, release after `gate` seconds.
inline double adsr(double t, double gate, double a, double d, double s, double r) {
    auto level_at = [&](double u) {
        if (u < a) return u / a;
        return s + (1.0 - s) * std::exp(-(u - a) / d);
    };
    if (t < 0) return 0;
    if (t < gate) return level_at(t);
    double released = t - gate;
    return released >= r * 6 ? 0.0 : level_at(gate) * std::exp(-released / r);
}

// A stereo bus: two channels of samples.
struct Bus {
    std::vector<float> left, right;
    explicit Bus(std::size_t length) : left(length, 0.0f), right(length, 0.0f) {}
    std::size_t size() const { return left.size(); }
    // A bus of no length hears nothing; instruments skip it without working
    // out their samples.
    bool silent() const { return left.empty(); }
    void add(std::size_t i, double l, double r) {
        if (i >= left.size()) return;
        left[i] += static_cast<float>(l);
        right[i] += static_cast<float>(r);
    }
    void add_mono(std::size_t i, double v, double pan) {  // pan −1 left .. 1 right
        add(i, v * std::sqrt(0.5 * (1 - pan)), v * std::sqrt(0.5 * (1 + pan)));
    }
};
