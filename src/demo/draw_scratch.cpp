#include "demo/draw_scratch.h"

#include <algorithm>

namespace {

std::unique_ptr<Mesh> shadow_mesh_for(const Mesh& target) {
    // Caps take every triangle and each silhouette edge adds two sides, which
    // can outgrow twice the mesh's capacity on an intricate outline.
    std::uint32_t worst = target.triangleCount + 2 * target.edgeCount;
    auto shadow = std::make_unique<Mesh>(std::max(2 * target.triangleCapacity, worst), 2 * target.vertexCapacity);
    // Doubling a full 16-bit pool is clamped by the mesh itself.
    std::uint32_t n = target.vertexCount;
    for (std::uint32_t i = 0; i < n && i < shadow->vertexCapacity; ++i) shadow->vertices[i] = target.vertices[i];
    shadow->vertexCount = std::min(2 * n, shadow->vertexCapacity);
    shadow->verticesMoved();
    return shadow;
}

}  // namespace

Mesh& DrawScratch::shadow_of(const SceneObject& object) {
    std::unique_ptr<Mesh>& shadow = shadows_[&object];
    if (!shadow) shadow = shadow_mesh_for(*object.mesh);
    return *shadow;
}
