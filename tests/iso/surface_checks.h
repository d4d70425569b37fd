// Checks of polygonized surfaces that do not trust the case table: every
// edge used once in each direction, and the winding number of the surface
// around each grid point (1 inside, 0 outside), which holds only when the
// surface is closed and faces outward.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "mesh/mesh.h"

namespace iso_test {

// "" when every directed edge appears once and its reverse once; otherwise
// the first fault found.
inline std::string closed_and_consistent(const Mesh& mesh) {
    std::map<std::pair<int, int>, int> directed;
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i)
        for (int k = 0; k < 3; ++k) {
            int p = mesh.triangles[i].index[k], q = mesh.triangles[i].index[(k + 1) % 3];
            if (p == q) return "degenerate triangle " + std::to_string(i);
            ++directed[{p, q}];
        }
    for (const auto& [edge, count] : directed) {
        auto reverse = directed.find({edge.second, edge.first});
        if (count != 1 || reverse == directed.end() || reverse->second != 1)
            return "edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second);
    }
    return "";
}

// Solid angle of the whole surface seen from p, in turns.
inline double winding_number(const Mesh& mesh, const Vector3& p) {
    const double pi = 3.141592653589793;
    double total = 0;
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i) {
        Vector3 v[3];
        double length[3];
        for (int k = 0; k < 3; ++k) {
            const Vector3& c = mesh.vertices[mesh.triangles[i].index[k]];
            v[k] = Vector3{c.x - p.x, c.y - p.y, c.z - p.z};
            length[k] = std::sqrt(v[k].x * v[k].x + v[k].y * v[k].y + v[k].z * v[k].z);
        }
        auto dot = [](const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
        const Vector3& a = v[0];
        const Vector3& b = v[1];
        const Vector3& c = v[2];
        double triple = a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
        double below = length[0] * length[1] * length[2] + dot(a, b) * length[2] + dot(a, c) * length[1] +
                       dot(b, c) * length[0];
        total += 2 * std::atan2(triple, below);
    }
    return total / (4 * pi);
}

// Model position of grid point (x, y, z).
inline Vector3 grid_point(int x, int y, int z) { return Vector3{x - 15.0, y - 15.0, z - 15.0}; }

}  // namespace iso_test
