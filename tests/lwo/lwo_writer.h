// Writes LightWave object files for tests: big-endian IFF chunks, points,
// LWOB polygons with surface numbers and LWO2 polygon chunks of any type.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace lwo {

using Point = std::array<float, 3>;
using Polygon = std::vector<std::uint16_t>;

inline std::string be32(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
inline std::string be16(std::uint16_t v) { return {char(v >> 8), char(v)}; }
inline std::string be_float(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return be32(bits);
}

// A chunk with a 32-bit size; `size` overrides the true size when given.
inline std::string chunk(const char* id, const std::string& body, long long size = -1) {
    return std::string(id, 4) + be32(std::uint32_t(size < 0 ? body.size() : size)) + body;
}
// A surface sub-chunk with a 16-bit size.
inline std::string sub_chunk(const char* id, const std::string& body) {
    return std::string(id, 4) + be16(std::uint16_t(body.size())) + body;
}
inline std::string form(const char* type, const std::string& chunks) {
    return chunk("FORM", std::string(type, 4) + chunks);
}

inline std::string points(const std::vector<Point>& list) {
    std::string body;
    for (const Point& p : list)
        for (float c : p) body += be_float(c);
    return chunk("PNTS", body);
}

inline std::string lwob_polygons(const std::vector<Polygon>& list, std::int16_t surface = 1) {
    std::string body;
    for (const Polygon& p : list) {
        body += be16(std::uint16_t(p.size()));
        for (std::uint16_t i : p) body += be16(i);
        body += be16(std::uint16_t(surface));
    }
    return chunk("POLS", body);
}

inline std::string lwo2_polygons(const std::vector<Polygon>& list, const char* type = "FACE") {
    std::string body(type, 4);
    for (const Polygon& p : list) {
        body += be16(std::uint16_t(p.size()));
        for (std::uint16_t i : p) body += be16(i);
    }
    return chunk("POLS", body);
}

inline std::string bbox(int bytes) { return chunk("BBOX", std::string(bytes, '\0')); }

// A closed latitude-longitude ball: two poles and `rings` x `segments`
// points, quads between rings and triangles at the poles, facing outward.
struct Ball {
    std::vector<Point> points;
    std::vector<Polygon> polygons;
};
inline Ball make_ball(int rings, int segments, float radius) {
    const double pi = 3.141592653589793;
    Ball ball;
    ball.points.push_back({0, radius, 0});
    for (int k = 1; k <= rings; ++k) {
        double theta = pi * k / (rings + 1);
        for (int j = 0; j < segments; ++j) {
            double phi = 2 * pi * j / segments;
            ball.points.push_back({float(radius * std::sin(theta) * std::cos(phi)), float(radius * std::cos(theta)),
                                   float(radius * std::sin(theta) * std::sin(phi))});
        }
    }
    const auto south = std::uint16_t(ball.points.size());
    ball.points.push_back({0, -radius, 0});
    auto at = [&](int k, int j) { return std::uint16_t(1 + (k - 1) * segments + j % segments); };
    for (int j = 0; j < segments; ++j) {
        ball.polygons.push_back({0, at(1, j + 1), at(1, j)});
        for (int k = 1; k < rings; ++k) ball.polygons.push_back({at(k, j), at(k, j + 1), at(k + 1, j + 1), at(k + 1, j)});
        ball.polygons.push_back({south, at(rings, j), at(rings, j + 1)});
    }
    return ball;
}

}  // namespace lwo
