#include "mesh/global_meshes.h"

// Capacities (triangles, vertices) are sized for what precalculation builds.
Mesh columnMesh(32, 32);
Mesh wire0Mesh(256, 128), wire1Mesh(256, 128), wire2Mesh(256, 128);
Mesh tunnelInnerMesh(256, 128), tunnelOuterMesh(256, 128);
Mesh airshipMeshA(128, 64), airshipMeshB(128, 64);
Mesh dolphinMesh(4300, 2200);
Mesh sphereMesh(8000, 4000), basketMesh(8000, 4000), poleMesh(8000, 4000);
Mesh tekstMesh(8000, 4000);
Mesh canyonMesh(12000, 8000);

SceneObject columnObjects[2];
SceneObject wireObjects[3];
SceneObject tunnelInnerObjects[8];
SceneObject tunnelOuterObjects[8];
SceneObject airshipObjects[32];
SceneObject tekstObjects[2];
SceneObject poleObjects[4];
SceneObject dolphinObject, sphereObject, basketObject, canyonObject;
