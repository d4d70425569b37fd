// A placed instance of a mesh. The shadow volume it casts is the draw's
// scratch (demo/draw_scratch.h), not part of the object.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"

struct SceneObject {
    SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Places `target` and fills its plane distances, which the shadow
    // volumes test the light against. Call it once the mesh is finalized.
    void attach(Mesh* target);

    double x = 0, y = 0, z = 0;
    double yaw = 0, pitch = 0, roll = 0;  // radians: about y, then x, then z
    const Mesh* mesh = nullptr;           // not owned; only read once attached
    std::int32_t castsShadow = 1;
    std::int32_t texture = 0;             // texture table slot
};
