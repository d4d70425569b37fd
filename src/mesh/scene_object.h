// A placed instance of a mesh, with its own mesh that receives the shadow
// volume the object casts.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"

struct SceneObject {
    SceneObject();
    ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Places `target` and makes a shadow mesh twice its size that starts with
    // the mesh's positions; also fills the mesh's plane distances. Call it
    // once the mesh is finalized.
    void attach(Mesh* target);

    double x, y, z;
    double yaw, pitch, roll;  // radians: about y, then x, then z
    Mesh* mesh;               // not owned
    Mesh* shadowMesh;         // owned
    std::int32_t castsShadow;
    std::int32_t texture;     // texture table slot
};
