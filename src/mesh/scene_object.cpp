#include "mesh/scene_object.h"

#include <algorithm>

SceneObject::SceneObject()
    : x(0), y(0), z(0), yaw(0), pitch(0), roll(0), mesh(nullptr), shadowMesh(new Mesh(32, 32)), castsShadow(1),
      texture(0) {}

SceneObject::~SceneObject() { delete shadowMesh; }

void SceneObject::attach(Mesh* target) {
    mesh = target;
    delete shadowMesh;
    // Caps take every triangle and each silhouette edge adds two sides, which
    // can outgrow twice the mesh's capacity on an intricate outline.
    std::uint32_t worst = target->triangleCount + 2 * target->edgeCount;
    shadowMesh = new Mesh(std::max(2 * target->triangleCapacity, worst), 2 * target->vertexCapacity);
    // The shadow builder writes the extruded copies into the upper half each
    // frame. Doubling a full 16-bit pool is clamped by the mesh itself.
    std::uint32_t n = target->vertexCount;
    for (std::uint32_t i = 0; i < n && i < shadowMesh->vertexCapacity; ++i)
        shadowMesh->vertices[i] = target->vertices[i];
    shadowMesh->vertexCount = std::min(2 * n, shadowMesh->vertexCapacity);
    shadowMesh->verticesMoved();
    for (std::uint32_t i = 0; i < target->triangleCount; ++i) {
        const Vector3& p = target->vertices[target->triangles[i].index[0]];
        const Vector3& normal = target->faceNormals[i];
        target->planeDistances[i] = static_cast<float>(p.x * normal.x + p.y * normal.y + p.z * normal.z);
    }
}
