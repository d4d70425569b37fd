// Our polygonizer for the stored meshes: surface nets over a sampled field.
// One vertex per grid cell the surface passes through (the mean of the
// crossings on the cell's edges), one quad per grid edge it crosses, split
// along the shorter diagonal. The result is closed when the field is
// outside (positive) on the grid's boundary.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct TriangleMesh {
    std::vector<double> positions;          // x, y, z per vertex
    std::vector<std::uint16_t> triangles;   // three indices per triangle, counter-clockwise from outside
    std::size_t vertex_count() const { return positions.size() / 3; }
    std::size_t triangle_count() const { return triangles.size() / 3; }
};

struct Grid {
    int nx, ny, nz;                 // sample points per axis
    double x0, y0, z0, spacing;     // position of sample (0, 0, 0) and the step
};

// `field` is negative inside the solid.
TriangleMesh surface_nets(const Grid& grid, const std::function<double(double, double, double)>& field);

// The stored mesh file: vertex count, triangle count, 64-bit positions,
// 16-bit indices, little-endian.
std::vector<std::uint8_t> stored_mesh_bytes(const TriangleMesh& mesh);
