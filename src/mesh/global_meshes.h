// The meshes and scene objects of the demo. They exist for the whole run;
// precalculation fills them once and everything after only reads them.
#pragma once

#include "mesh/mesh.h"
#include "mesh/scene_object.h"

extern Mesh columnMesh;
extern Mesh wire0Mesh, wire1Mesh, wire2Mesh;
extern Mesh tunnelInnerMesh, tunnelOuterMesh;
extern Mesh airshipMeshA, airshipMeshB;
extern Mesh dolphinMesh;
extern Mesh sphereMesh, basketMesh, poleMesh;
extern Mesh tekstMesh;
extern Mesh canyonMesh;

extern SceneObject columnObjects[2];
extern SceneObject wireObjects[3];
extern SceneObject tunnelInnerObjects[8];
extern SceneObject tunnelOuterObjects[8];
extern SceneObject airshipObjects[32];
extern SceneObject tekstObjects[2];
extern SceneObject poleObjects[4];
extern SceneObject dolphinObject, sphereObject, basketObject, canyonObject;
