// The shadow volume an object casts from a point light, rebuilt on the CPU
// for every light and frame from the mesh's face planes and edge table.
#pragma once

#include <cstdint>
#include <vector>

#include "demo/scene_state.h"
#include "mesh/mesh.h"
#include "mesh/scene_object.h"

// The light in the frame of an object at `pose`: undoes the position, then
// yaw, pitch and roll.
Vector3 light_in_object_space(const Pose& pose, const Vector3& light);

// Fills `shadow` (the object's, from DrawScratch::shadow_of) for the object
// at `pose`, marking the triangles facing the light in `lit`: triangles facing the light stay where they
// are (near cap), the others move to the extruded copies 32 times as far
// from the light (far cap), and each silhouette edge gets two side
// triangles. An edge with only one triangle gets no sides. Stops appending
// when the shadow mesh is full.
void shadow_volume_build(const SceneObject& object, const Pose& pose, const Vector3& light, Mesh& shadow,
                         std::vector<std::uint8_t>& lit);
