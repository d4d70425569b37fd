#include "mesh/mesh.h"

#include <algorithm>
#include <cmath>

#include "log/log.h"
#include "mesh/mesh_draw.h"

Mesh::Mesh(std::uint32_t triangle_capacity, std::uint32_t vertex_capacity)
    : vertices(new Vector3[std::min(vertex_capacity, max_mesh_vertices)]()),
      normals(new Vector3[std::min(vertex_capacity, max_mesh_vertices)]()),
      vertexCount(0),
      vertexCapacity(std::min(vertex_capacity, max_mesh_vertices)),
      triangles(new Triangle[std::min(triangle_capacity, max_mesh_triangles)]()),
      faceNormals(new Vector3[std::min(triangle_capacity, max_mesh_triangles)]()),
      triangleCount(0),
      triangleCapacity(std::min(triangle_capacity, max_mesh_triangles)),
      edgeCount(0),
      edges(new Edge[8 * std::size_t{std::min(triangle_capacity, max_mesh_triangles)}]()),
      displayList(0),
      planeDistances(new float[std::min(triangle_capacity, max_mesh_triangles)]()),
      draw(drawTextured),
      weldIndex(vertexCapacity),
      weldIndexed(0),
      weldIndexStale(false),
      edgeIndex(3 * triangleCapacity) {
    clear();
}

Mesh::~Mesh() = default;

void Mesh::clear() {
    vertexCount = 0;
    triangleCount = 0;
    edgeCount = 0;
    verticesMoved();
}

std::uint32_t Mesh::addVertex(double x, double y, double z) {
    indexNewVertices();
    std::uint32_t partner = findWeldPartner(x, y, z);
    if (partner < vertexCount) return partner;
    if (vertexCount >= vertexCapacity) {
        log_print("uhoh out of vertexMem");
        return vertexCount;
    }
    vertices[vertexCount] = Vector3{x, y, z};
    return vertexCount++;
}

namespace {

Vector3 unit_normal(const Vector3& a, const Vector3& b, const Vector3& c) {
    Vector3 u{b.x - a.x, b.y - a.y, b.z - a.z};
    Vector3 v{c.x - a.x, c.y - a.y, c.z - a.z};
    Vector3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    double k = 1.0 / std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return Vector3{n.x * k, n.y * k, n.z * k};
}

}  // namespace

std::uint32_t Mesh::addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, float s0, float t0, float s1,
                                float t1, float s2, float t2) {
    if (a == b || b == c || a == c) log_print("[not my type of triangle]\n\n");
    if (a >= vertexCount || b >= vertexCount || c >= vertexCount) {
        log_print("to early triangle insert %i %i %i\n", static_cast<int>(a), static_cast<int>(b),
                  static_cast<int>(c));
        return 0;
    }
    if (triangleCount >= triangleCapacity) {
        log_print("uhoh out of triMem");
        return 0;
    }
    Triangle& tri = triangles[triangleCount];
    tri = Triangle{{static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b), static_cast<std::uint16_t>(c)},
                   {s0, s1, s2},
                   {t0, t1, t2}};
    faceNormals[triangleCount] = unit_normal(vertices[a], vertices[b], vertices[c]);
    return triangleCount++;
}

std::uint32_t Mesh::addQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    addTriangle(a, b, d, 0, 0, 1, 0, 0, 1);
    return addTriangle(c, d, b, 1, 1, 0, 1, 1, 0);
}

void Mesh::scale(double sx, double sy, double sz) {
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        vertices[i].x *= sx;
        vertices[i].y *= sy;
        vertices[i].z *= sz;
    }
    verticesMoved();
    computeVertexNormals();
}

void Mesh::verticesMoved() { weldIndexStale = true; }
