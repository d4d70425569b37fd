#include "iso/cell_polygonizer.h"

namespace {

// Grid point (x, y, z) sits at (x - 15, y - 15, z - 15) in the model.
constexpr int grid_origin = 15;

// Each cell edge as its lower corner's offset and the axis it runs along.
struct CellEdge {
    int dx, dy, dz;
    int axis;  // 0 x, 1 y, 2 z
};
constexpr CellEdge cell_edges[12] = {
    {0, 0, 0, 0}, {1, 0, 0, 1}, {0, 1, 0, 0}, {0, 0, 0, 1}, {0, 0, 0, 2}, {1, 0, 0, 2},
    {1, 1, 0, 2}, {0, 1, 0, 2}, {0, 0, 1, 0}, {1, 0, 1, 1}, {0, 1, 1, 0}, {0, 0, 1, 1},
};
constexpr int corner_offsets[8][3] = {
    {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1},
};

}  // namespace

void CellPolygonizer::polygonize(const BitVolume& volume) {
    for (int z = 0; z < volume_size - 1; ++z)
        for (int y = 0; y < volume_size - 1; ++y)
            for (int x = 0; x < volume_size - 1; ++x) {
                const double X = x - grid_origin, Y = y - grid_origin, Z = z - grid_origin;
                for (int e = 0; e < 12; ++e) {
                    const CellEdge& edge = cell_edges[e];
                    edgePoints[e] = Vector3{X + edge.dx + (edge.axis == 0 ? 0.5 : 0),
                                            Y + edge.dy + (edge.axis == 1 ? 0.5 : 0),
                                            Z + edge.dz + (edge.axis == 2 ? 0.5 : 0)};
                }
                int caseIndex = 0;
                for (int k = 0; k < 8; ++k) {
                    const int* o = corner_offsets[k];
                    caseIndex |= volume.get(x + o[0], y + o[1], z + o[2]) << k;
                }
                emitCell(caseIndex);
            }
}

void CellPolygonizer::emitCell(int caseIndex) {
    const std::int8_t* row = cell_cases[caseIndex & 255];
    for (int at = 0; row[at] != 0; at += row[at] + 1) {
        const std::int8_t* e = row + at + 1;
        if (row[at] == 3)
            emitTriangle(e[0], e[1], e[2]);
        else
            emitQuad(e[0], e[1], e[2], e[3]);
    }
}

std::uint32_t CellPolygonizer::edgeVertex(int edge) {
    const Vector3& p = edgePoints[edge];
    return mesh->addVertex(p.x, p.y, p.z);
}

void CellPolygonizer::emitTriangle(int e0, int e1, int e2) {
    std::uint32_t a = edgeVertex(e0), b = edgeVertex(e1), c = edgeVertex(e2);
    mesh->addTriangle(a, b, c, 0, 0, 1, 0, 0, 1);
}

void CellPolygonizer::emitQuad(int e0, int e1, int e2, int e3) {
    std::uint32_t a = edgeVertex(e0), b = edgeVertex(e1), c = edgeVertex(e2), d = edgeVertex(e3);
    mesh->addQuad(a, b, c, d);
}
