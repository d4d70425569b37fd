// What drawing a frame writes besides the GPU: the shadow volume each caster
// throws from the light being drawn, and which of its mesh's triangles face
// that light. Scratch, rebuilt before each use: the frame's state never
// reads it, and a frame drawn from the same state draws the same.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "mesh/mesh.h"
#include "mesh/scene_object.h"

class DrawScratch {
public:
    // One facing flag per triangle of the mesh being extruded.
    std::vector<std::uint8_t> lit = std::vector<std::uint8_t>(max_mesh_triangles);

    // The object's shadow mesh, made on its first use: room for caps of
    // every triangle and two sides per silhouette edge, the lower half of its
    // vertices the mesh's own positions, the upper half the extruded copies
    // each build writes.
    Mesh& shadow_of(const SceneObject& object);

private:
    std::map<const SceneObject*, std::unique_ptr<Mesh>> shadows_;
};
