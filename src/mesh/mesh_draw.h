// The five ways a mesh draws itself in immediate mode. A mesh's `draw`
// holds one of the first four or drawList; callers never pick the shading.
#pragma once

#include "mesh/mesh.h"

// Face normal per triangle, texture coordinates per corner.
void drawTextured(const Mesh& mesh);
// Vertex normals with sphere-map texture generation.
void drawSphereMapSmooth(const Mesh& mesh);
// Face normals with sphere-map texture generation.
void drawSphereMapFlat(const Mesh& mesh);
// Positions only, for shadow volumes.
void drawPlain(const Mesh& mesh);
// Plays back the display list recorded by compileList.
void drawList(const Mesh& mesh);
