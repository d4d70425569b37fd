#include "surface_nets.h"

#include <cmath>
#include <cstring>

namespace {

struct Sampled {
    const Grid& g;
    std::vector<double> values;
    double at(int i, int j, int k) const { return values[(static_cast<std::size_t>(k) * g.ny + j) * g.nx + i]; }
    double px(int i) const { return g.x0 + i * g.spacing; }
    double py(int j) const { return g.y0 + j * g.spacing; }
    double pz(int k) const { return g.z0 + k * g.spacing; }
};

// The mean of the surface crossings on the twelve edges of cell (i, j, k),
// or false when the cell is not crossed.
bool cell_vertex(const Sampled& s, int i, int j, int k, double out[3]) {
    double corner[8];
    for (int c = 0; c < 8; ++c) corner[c] = s.at(i + (c & 1), j + ((c >> 1) & 1), k + ((c >> 2) & 1));
    static const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3}, {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    double sum[3] = {0, 0, 0};
    int count = 0;
    for (const auto& e : edges) {
        double a = corner[e[0]], b = corner[e[1]];
        if ((a < 0) == (b < 0)) continue;
        double t = a / (a - b);
        for (int axis = 0; axis < 3; ++axis) {
            double ca = (e[0] >> axis) & 1, cb = (e[1] >> axis) & 1;
            sum[axis] += ca + (cb - ca) * t;
        }
        ++count;
    }
    if (!count) return false;
    out[0] = s.px(i) + sum[0] / count * s.g.spacing;
    out[1] = s.py(j) + sum[1] / count * s.g.spacing;
    out[2] = s.pz(k) + sum[2] / count * s.g.spacing;
    return true;
}

double distance2(const double* a, const double* b) {
    double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

// Two triangles for the quad a-b-c-d (counter-clockwise), cut along the
// shorter diagonal.
void add_quad(TriangleMesh& mesh, const std::uint16_t q[4]) {
    const double* p = mesh.positions.data();
    bool ac = distance2(p + 3 * q[0], p + 3 * q[2]) <= distance2(p + 3 * q[1], p + 3 * q[3]);
    const std::uint16_t split[2][6] = {{q[0], q[1], q[2], q[0], q[2], q[3]}, {q[0], q[1], q[3], q[1], q[2], q[3]}};
    const std::uint16_t* t = split[ac ? 0 : 1];
    mesh.triangles.insert(mesh.triangles.end(), t, t + 6);
}

}  // namespace

TriangleMesh surface_nets(const Grid& g, const std::function<double(double, double, double)>& field) {
    Sampled s{g, std::vector<double>(static_cast<std::size_t>(g.nx) * g.ny * g.nz)};
    for (int k = 0; k < g.nz; ++k)
        for (int j = 0; j < g.ny; ++j)
            for (int i = 0; i < g.nx; ++i)
                s.values[(static_cast<std::size_t>(k) * g.ny + j) * g.nx + i] = field(s.px(i), s.py(j), s.pz(k));

    TriangleMesh mesh;
    const int cx = g.nx - 1, cy = g.ny - 1, cz = g.nz - 1;
    std::vector<int> cell_index(static_cast<std::size_t>(cx) * cy * cz, -1);
    auto cell = [&](int i, int j, int k) -> int& { return cell_index[(static_cast<std::size_t>(k) * cy + j) * cx + i]; };
    for (int k = 0; k < cz; ++k)
        for (int j = 0; j < cy; ++j)
            for (int i = 0; i < cx; ++i) {
                double v[3];
                if (!cell_vertex(s, i, j, k, v)) continue;
                cell(i, j, k) = static_cast<int>(mesh.vertex_count());
                mesh.positions.insert(mesh.positions.end(), v, v + 3);
            }

    // Every crossed grid edge with four cells around it gives a quad; the
    // cells are listed counter-clockwise seen from the edge's positive end.
    for (int k = 1; k < cz; ++k)
        for (int j = 1; j < cy; ++j)
            for (int i = 1; i < cx; ++i) {
                double here = s.at(i, j, k);
                const double ends[3] = {s.at(i + 1, j, k), s.at(i, j + 1, k), s.at(i, j, k + 1)};
                for (int axis = 0; axis < 3; ++axis) {
                    if ((here < 0) == (ends[axis] < 0)) continue;
                    int around[4][3];
                    if (axis == 0) {
                        const int c[4][3] = {{i, j - 1, k - 1}, {i, j, k - 1}, {i, j, k}, {i, j - 1, k}};
                        std::memcpy(around, c, sizeof around);
                    } else if (axis == 1) {
                        const int c[4][3] = {{i - 1, j, k - 1}, {i - 1, j, k}, {i, j, k}, {i, j, k - 1}};
                        std::memcpy(around, c, sizeof around);
                    } else {
                        const int c[4][3] = {{i - 1, j - 1, k}, {i, j - 1, k}, {i, j, k}, {i - 1, j, k}};
                        std::memcpy(around, c, sizeof around);
                    }
                    std::uint16_t q[4];
                    for (int n = 0; n < 4; ++n) q[n] = static_cast<std::uint16_t>(cell(around[n][0], around[n][1], around[n][2]));
                    if (here >= 0) std::swap(q[1], q[3]);  // the inside lies on the positive side: face the other way
                    add_quad(mesh, q);
                }
            }
    return mesh;
}

std::vector<std::uint8_t> stored_mesh_bytes(const TriangleMesh& mesh) {
    std::vector<std::uint8_t> out;
    auto put32 = [&](std::uint32_t v) {
        for (int b = 0; b < 4; ++b) out.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
    };
    put32(static_cast<std::uint32_t>(mesh.vertex_count()));
    put32(static_cast<std::uint32_t>(mesh.triangle_count()));
    for (double p : mesh.positions) {
        std::uint64_t bits;
        std::memcpy(&bits, &p, sizeof bits);
        for (int b = 0; b < 8; ++b) out.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
    }
    for (std::uint16_t index : mesh.triangles) {
        out.push_back(static_cast<std::uint8_t>(index & 255));
        out.push_back(static_cast<std::uint8_t>(index >> 8));
    }
    return out;
}
