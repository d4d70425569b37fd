// The weld search: the lowest-numbered vertex closer than the weld distance.
// Vertices are filed by the cell of a grid twice as coarse as the weld
// distance, so every vertex within reach of a point lies in one of the 27
// cells around the point's own cell, and the search gives exactly what a scan
// of all vertices would.
#include <cmath>

#include "mesh/mesh.h"

namespace {

constexpr double cell_size = 2 * 0.01;
// Far-away and non-finite coordinates share the outermost cells; clamping
// keeps neighbours neighbours, and the distance test still decides.
constexpr double cell_limit = 1099511627776.0;  // 2^40

std::int64_t cell_of(double coordinate) {
    double cell = std::floor(coordinate / cell_size);
    if (std::isnan(cell)) return 0;
    if (cell > cell_limit) return static_cast<std::int64_t>(cell_limit);
    if (cell < -cell_limit) return -static_cast<std::int64_t>(cell_limit);
    return static_cast<std::int64_t>(cell);
}

std::uint64_t cell_key(std::int64_t cx, std::int64_t cy, std::int64_t cz) {
    return static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15u + static_cast<std::uint64_t>(cy) * 0xC2B2AE3D27D4EB4Fu +
           static_cast<std::uint64_t>(cz);
}

std::uint64_t key_of(const Vector3& p) { return cell_key(cell_of(p.x), cell_of(p.y), cell_of(p.z)); }

bool within_weld_distance(const Vector3& v, double x, double y, double z) {
    double dx = v.x - x, dy = v.y - y, dz = v.z - z;
    return dx * dx + dy * dy + dz * dz < weld_distance_squared;
}

}  // namespace

void Mesh::indexNewVertices() {
    if (weldIndexStale || weldIndexed > vertexCount) {
        weldIndex.clear();
        weldIndexed = 0;
        weldIndexStale = false;
    }
    for (; weldIndexed < vertexCount; ++weldIndexed) weldIndex.file(key_of(vertices[weldIndexed]), weldIndexed);
}

std::uint32_t Mesh::findWeldPartner(double x, double y, double z) const {
    const std::int64_t cx = cell_of(x), cy = cell_of(y), cz = cell_of(z);
    std::uint32_t best = vertexCount;
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i)
        for (std::int64_t j = cy - 1; j <= cy + 1; ++j)
            for (std::int64_t k = cz - 1; k <= cz + 1; ++k)
                for (std::uint32_t v = weldIndex.first(cell_key(i, j, k)); v != HashChains::end; v = weldIndex.next(v))
                    if (v < best && within_weld_distance(vertices[v], x, y, z)) best = v;
    return best;
}
