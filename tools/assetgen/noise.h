// Deterministic value noise and a small random generator, so that every run
// of the generator writes the same bytes.
#pragma once

#include <cmath>
#include <cstdint>

inline std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Uniform in [0, 1) for a lattice point.
inline float hash_unit(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    return static_cast<float>(hash3(x, y, z, seed) >> 8) * (1.0f / 16777216.0f);
}

// Smooth 3D value noise in [0, 1).
inline float value_noise(float x, float y, float z, std::uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy), iz = static_cast<std::int32_t>(fz);
    float tx = x - fx, ty = y - fy, tz = z - fz;
    tx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    ty = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    tz = tz * tz * tz * (tz * (tz * 6 - 15) + 10);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    float c[2][2][2];
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) c[k][j][i] = hash_unit(ix + i, iy + j, iz + k, seed);
    float y0 = lerp(lerp(c[0][0][0], c[0][0][1], tx), lerp(c[0][1][0], c[0][1][1], tx), ty);
    float y1 = lerp(lerp(c[1][0][0], c[1][0][1], tx), lerp(c[1][1][0], c[1][1][1], tx), ty);
    return lerp(y0, y1, tz);
}

// Fractal sum of value noise, normalised to [0, 1).
inline float fbm(float x, float y, float z, int octaves, std::uint32_t seed, float gain = 0.5f) {
    float sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * value_noise(x, y, z, seed + static_cast<std::uint32_t>(o) * 101u);
        total += amplitude;
        amplitude *= gain;
        x = x * 2.03f + 17.1f;
        y = y * 2.03f - 9.7f;
        z = z * 2.03f + 3.3f;
    }
    return sum / total;
}

// A small deterministic generator (xorshift) for scattering things.
struct Random {
    std::uint32_t state;
    explicit Random(std::uint32_t seed) : state(seed ? seed : 1u) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
};
