#include "effects.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

struct Comb {
    std::vector<float> line;
    std::size_t at = 0;
    float store = 0;
    explicit Comb(std::size_t length) : line(length, 0.0f) {}
    float run(float x, float feedback, float damping) {
        float out = line[at];
        store = out * (1 - damping) + store * damping;
        line[at] = x + store * feedback;
        if (++at == line.size()) at = 0;
        return out;
    }
};

struct Allpass {
    std::vector<float> line;
    std::size_t at = 0;
    explicit Allpass(std::size_t length) : line(length, 0.0f) {}
    float run(float x) {
        float delayed = line[at];
        float out = delayed - x;
        line[at] = x + delayed * 0.5f;
        if (++at == line.size()) at = 0;
        return out;
    }
};

void reverb_channel(const std::vector<float>& in, std::vector<float>& out, int spread, double room, double damping) {
    const int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int allpasses[4] = {556, 441, 341, 225};
    std::vector<Comb> c;
    std::vector<Allpass> a;
    for (int length : combs) c.emplace_back(static_cast<std::size_t>(length + spread));
    for (int length : allpasses) a.emplace_back(static_cast<std::size_t>(length + spread));
    auto feedback = static_cast<float>(room), damp = static_cast<float>(damping);
    for (std::size_t i = 0; i < in.size(); ++i) {
        float x = in[i] * 0.015f, sum = 0;
        for (auto& comb : c) sum += comb.run(x, feedback, damp);
        for (auto& pass : a) sum = pass.run(sum);
        out[i] = sum;
    }
}

// Biquad in direct form I.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double run(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The two stages of the K-weighting, designed for the sample rate.
void k_weighting(Biquad& shelf, Biquad& highpass) {
    double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(pi_d * f0 / sample_rate);
    double vh = std::pow(10.0, gain_db / 20.0), vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
             2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    f0 = 38.13547087602444;
    q = 0.5003270373238773;
    k = std::tan(pi_d * f0 / sample_rate);
    double d = 1.0 + k / q + k * k;
    highpass = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / d, (1.0 - k / q + k * k) / d};
}

}  // namespace

Bus reverb(const Bus& in, double room, double damping) {
    Bus out(in.size());
    reverb_channel(in.left, out.left, 0, room, damping);
    reverb_channel(in.right, out.right, 23, room, damping);
    return out;
}

Bus ping_pong(const Bus& in, double delay, double feedback, double tone_hz) {
    Bus out(in.size());
    auto length = static_cast<std::size_t>(delay * sample_rate);
    std::vector<float> left(length, 0.0f), right(length, 0.0f);
    Svf tone_l, tone_r;
    std::size_t at = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        float dl = left[at], dr = right[at];
        tone_l.run(0.5 * (in.left[i] + in.right[i]) + dr * feedback, tone_hz, 0.0);
        tone_r.run(dl * feedback, tone_hz, 0.0);
        left[at] = static_cast<float>(tone_l.low);
        right[at] = static_cast<float>(tone_r.low);
        out.left[i] = dl;
        out.right[i] = dr;
        if (++at == length) at = 0;
    }
    return out;
}

void apply_gain(Bus& bus, const std::vector<float>& gain) {
    for (std::size_t i = 0; i < bus.size() && i < gain.size(); ++i) {
        bus.left[i] *= gain[i];
        bus.right[i] *= gain[i];
    }
}

void mix_into(Bus& into, const Bus& from, double gain) {
    auto g = static_cast<float>(gain);
    for (std::size_t i = 0; i < into.size() && i < from.size(); ++i) {
        into.left[i] += from.left[i] * g;
        into.right[i] += from.right[i] * g;
    }
}

double integrated_loudness(const Bus& bus) {
    Biquad shelf[2], highpass[2];
    for (int c = 0; c < 2; ++c) k_weighting(shelf[c], highpass[c]);
    // Mean squares of 100 ms steps; a block is four of them (400 ms, 75 % overlap).
    const std::size_t step = sample_rate / 10;
    std::vector<double> steps;
    double sum = 0;
    for (std::size_t i = 0; i < bus.size(); ++i) {
        double l = highpass[0].run(shelf[0].run(bus.left[i]));
        double r = highpass[1].run(shelf[1].run(bus.right[i]));
        sum += l * l + r * r;
        if ((i + 1) % step == 0) {
            steps.push_back(sum / step);
            sum = 0;
        }
    }
    std::vector<double> blocks;
    for (std::size_t i = 3; i < steps.size(); ++i) blocks.push_back((steps[i] + steps[i - 1] + steps[i - 2] + steps[i - 3]) / 4);
    auto lufs = [](double power) { return -0.691 + 10.0 * std::log10(power); };
    auto gated_mean = [&](double threshold) {
        double total = 0;
        int count = 0;
        for (double b : blocks)
            if (b > 0 && lufs(b) > threshold) {
                total += b;
                ++count;
            }
        return count ? total / count : 0.0;
    };
    double absolute = gated_mean(-70.0);
    if (absolute <= 0) return -200.0;
    return lufs(gated_mean(lufs(absolute) - 10.0));
}

void limit_peaks(Bus& bus, double ceiling) {
    const std::size_t lookahead = sample_rate * 3 / 1000;  // 3 ms
    const double release = std::exp(-1.0 / (0.08 * sample_rate));
    const std::size_t n = bus.size();
    // Gain each sample needs on its own, then the minimum over the look-ahead
    // window ahead of it (a monotonic queue), then smoothing.
    std::vector<float> need(n);
    for (std::size_t i = 0; i < n; ++i) {
        double peak = std::max(std::fabs(bus.left[i]), std::fabs(bus.right[i]));
        need[i] = static_cast<float>(peak > ceiling ? ceiling / peak : 1.0);
    }
    std::vector<float> window_min(n);
    std::deque<std::size_t> queue;
    for (std::size_t i = n; i-- > 0;) {
        while (!queue.empty() && need[queue.back()] >= need[i]) queue.pop_back();
        queue.push_back(i);
        while (queue.front() > i + lookahead) queue.pop_front();
        window_min[i] = need[queue.front()];
    }
    double gain = 1.0;
    const double attack = std::exp(-1.0 / (0.001 * sample_rate));
    for (std::size_t i = 0; i < n; ++i) {
        double target = window_min[i];
        gain = target < gain ? target + (gain - target) * attack : target + (gain - target) * release;
        gain = std::min(gain, static_cast<double>(need[i]));  // never let a peak through
        bus.left[i] = static_cast<float>(bus.left[i] * gain);
        bus.right[i] = static_cast<float>(bus.right[i] * gain);
    }
}
