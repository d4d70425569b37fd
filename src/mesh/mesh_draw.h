// The five ways a mesh draws itself in immediate mode. A mesh's `draw`
// holds one of the first four or drawList; callers never pick the shading.
#pragma once

#include "mesh/mesh.h"

// Face normal per triangle, texture coordinates per corner.
void drawTextured(Mesh& mesh);
// Vertex normals with sphere-map texture generation.
void drawSphereMapSmooth(Mesh& mesh);
// Face normals with sphere-map texture generation.
void drawSphereMapFlat(Mesh& mesh);
// Positions only, for shadow volumes.
void drawPlain(Mesh& mesh);
// Plays back the display list recorded by compileList.
void drawList(Mesh& mesh);
