// A picture under construction: linear RGBA floats, rows top to bottom.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0;
};

inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator-(Colour a, Colour b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Colour operator*(Colour a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Colour operator*(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Colour mix(Colour a, Colour b, float t) { return a + (b - a) * t; }
inline Colour rgb(int hex) {
    return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f};
}

inline float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
inline float smoothstep(float a, float b, float v) {
    float t = clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// 8-bit RGBA pixels as the PNG writer takes them.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;

    Pixels(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 255) {}
    std::uint8_t* at(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    void set(int x, int y, Colour c, float alpha = 1.0f);
};

// Display encoding: a soft shoulder keeps bright values from clipping
// abruptly, then the usual 2.2 gamma.
inline std::uint8_t encode(float linear) {
    float v = linear <= 0 ? 0.0f : std::pow(clamp01(linear), 1.0f / 2.2f);
    return static_cast<std::uint8_t>(std::lround(v * 255.0f));
}

inline void Pixels::set(int x, int y, Colour c, float alpha) {
    std::uint8_t* p = at(x, y);
    p[0] = encode(c.r);
    p[1] = encode(c.g);
    p[2] = encode(c.b);
    p[3] = static_cast<std::uint8_t>(std::lround(clamp01(alpha) * 255.0f));
}

// Gentle highlight compression for values that may exceed 1.
inline Colour tone(Colour c) {
    auto t = [](float v) { return v < 0.8f ? v : 0.8f + 0.2f * std::tanh((v - 0.8f) / 0.2f); };
    return {t(c.r), t(c.g), t(c.b)};
}
