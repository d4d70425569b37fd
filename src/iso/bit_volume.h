// A 32 x 32 x 32 occupancy grid, one bit per grid point; a set bit is inside.
#pragma once

#include <cstdint>
#include <cstring>

constexpr int volume_size = 32;

struct BitVolume {
    std::uint8_t bits[volume_size * volume_size * volume_size / 8];

    void clear() { std::memset(bits, 0, sizeof bits); }

    static int number(int x, int y, int z) { return x + volume_size * y + volume_size * volume_size * z; }

    // Coordinates must lie in 0..31.
    bool get(int x, int y, int z) const {
        int n = number(x, y, z);
        return bits[n >> 3] >> (n & 7) & 1;
    }
    void set(int x, int y, int z) {
        int n = number(x, y, z);
        bits[n >> 3] = static_cast<std::uint8_t>(bits[n >> 3] | 1 << (n & 7));
    }
};
