#include "mesh/scene_object.h"

void SceneObject::attach(Mesh* target) {
    mesh = target;
    for (std::uint32_t i = 0; i < target->triangleCount; ++i) {
        const Vector3& p = target->vertices[target->triangles[i].index[0]];
        const Vector3& normal = target->faceNormals[i];
        target->planeDistances[i] = static_cast<float>(p.x * normal.x + p.y * normal.y + p.z * normal.z);
    }
}
