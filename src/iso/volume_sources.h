// The generated isosurfaces: each fills a bit volume by a closed-form rule
// and polygonizes it into the polygonizer's mesh, which it clears first.
#pragma once

#include "iso/cell_polygonizer.h"

// The volumes alone; each clears `volume` first.
void fill_sphere_volume(BitVolume& volume);
void fill_basket_volume(BitVolume& volume);
void fill_pole_volume(BitVolume& volume);

// A ball of radius 7 roughened by high-frequency sine terms. Reports the
// mesh under `name`, then computes vertex normals.
void iso_sphere(CellPolygonizer& polygonizer, const char* name);

// A fixed random walk of 1000 steps, mirrored by a half turn about the
// model's y axis, leaving a channel along z free. Reports, then normals.
void iso_basket(CellPolygonizer& polygonizer, const char* name);

// A column that widens with height, rippled 3- and 5-fold around its axis
// with a phase that turns with height. The caller scales and finalizes it.
void iso_pole(CellPolygonizer& polygonizer, const char* name);
