// What every mesh a reader filled must hold, whatever bytes it was given:
// counts within the pools, corners naming stored vertices, edges within
// their room and naming real triangles.
#pragma once

#include <cstdlib>

#include "mesh/mesh.h"

inline void check_mesh(const Mesh& mesh) {
    if (mesh.vertexCount > mesh.vertexCapacity || mesh.triangleCount > mesh.triangleCapacity) std::abort();
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i)
        for (std::uint16_t corner : mesh.triangles[i].index)
            if (corner >= mesh.vertexCount) std::abort();
    if (mesh.edgeCount > 8u * mesh.triangleCapacity) std::abort();
    for (std::uint32_t i = 0; i < mesh.edgeCount; ++i) {
        const Edge& e = mesh.edges[i];
        if (e.from >= mesh.vertexCount || e.to >= mesh.vertexCount || e.firstTriangle >= mesh.triangleCount) std::abort();
        if (e.secondTriangle != no_second_triangle && e.secondTriangle >= mesh.triangleCount) std::abort();
    }
}
