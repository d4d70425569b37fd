// Marching cubes over a bit volume: every surface vertex is the midpoint of a
// cell edge whose ends differ, and each cell's triangles come from a fixed
// table of 256 cases.
#pragma once

#include <cstdint>

#include "iso/bit_volume.h"
#include "mesh/mesh.h"

// Rows list polygons in emission order: a corner count (3 or 4), that many
// cell edge numbers, and a 0 after the last polygon.
constexpr int case_row_length = 21;
extern const std::int8_t cell_cases[256][case_row_length];

struct CellPolygonizer {
    // Appends the surface of `volume` to `mesh`; the caller clears the mesh
    // before and computes normals or finalizes it after.
    void polygonize(const BitVolume& volume);
    void emitCell(int caseIndex);
    void emitTriangle(int e0, int e1, int e2);
    void emitQuad(int e0, int e1, int e2, int e3);

    Vector3 edgePoints[12];  // midpoints of the current cell's edges
    Mesh* mesh = nullptr;

private:
    std::uint32_t edgeVertex(int edge);
};
