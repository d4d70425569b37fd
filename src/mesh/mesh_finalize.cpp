// Smooth vertex normals and the edge table that the shadow volumes walk.
#include <cmath>

#include "log/log.h"
#include "mesh/mesh.h"

namespace {

// The same key for both directions of an edge.
std::uint64_t edge_key(std::uint16_t p, std::uint16_t q) {
    return p < q ? std::uint64_t{p} << 16 | q : std::uint64_t{q} << 16 | p;
}

}  // namespace

void Mesh::computeVertexNormals() {
    for (std::uint32_t i = 0; i < vertexCount; ++i) normals[i] = Vector3{0, 0, 0};
    for (std::uint32_t i = 0; i < triangleCount; ++i) {
        const Vector3& n = faceNormals[i];
        for (std::uint16_t corner : triangles[i].index) {
            normals[corner].x += n.x;
            normals[corner].y += n.y;
            normals[corner].z += n.z;
        }
    }
    // A vertex that no triangle uses keeps a zero sum and gets no direction.
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        Vector3& n = normals[i];
        double k = 1.0 / std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        n = Vector3{n.x * k, n.y * k, n.z * k};
    }
}

// Records are appended only for a pair of vertices that has none yet, so
// each pair has at most one record and the lookup finds the same record that
// a scan of the whole table would.
std::uint32_t Mesh::findEdge(std::uint16_t p, std::uint16_t q) const {
    for (std::uint32_t e = edgeIndex.first(edge_key(p, q)); e != HashChains::end; e = edgeIndex.next(e))
        if ((edges[e].from == p && edges[e].to == q) || (edges[e].from == q && edges[e].to == p)) return e;
    return edgeCount;
}

void Mesh::buildEdgeTable() {
    edgeCount = 0;
    edgeIndex.clear();
    for (std::uint32_t i = 0; i < triangleCount; ++i) {
        const std::uint16_t* corner = triangles[i].index;
        for (int k = 0; k < 3; ++k) {
            std::uint16_t p = corner[k], q = corner[(k + 1) % 3];
            std::uint32_t match = findEdge(p, q);
            if (match < edgeCount) {
                edges[match].secondTriangle = static_cast<std::uint16_t>(i);
            } else {
                edgeIndex.file(edge_key(p, q), edgeCount);
                edges[edgeCount++] = Edge{p, q, static_cast<std::uint16_t>(i), no_second_triangle};
            }
        }
    }
}

void Mesh::finalize(const char* name) {
    computeVertexNormals();
    buildEdgeTable();
    log_print("<finalize `%s` %itris %iverts>\n", name, static_cast<int>(triangleCount),
              static_cast<int>(vertexCount));
}
