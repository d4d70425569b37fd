// Direction → colour functions: the three skies and the two studio lights
// that the sphere maps reflect. Directions are unit vectors in world space,
// where the sky's zenith lies towards −y (the scenes view the world rolled
// half a turn).
#pragma once

#include "picture.h"

struct Direction {
    float x, y, z;
};

using Environment = Colour (*)(Direction);

// Sky set 0: dusk over the sea, a low sun and lit cloud banks.
Colour sky_dusk_sea(Direction d);
// Sky set 1: a rust-coloured desert storm under a ringed planet.
Colour sky_desert_storm(Direction d);
// Sky set 2: deep space with nebula clouds and stars.
Colour sky_nebula(Direction d);

// The reflection studio of the chrome objects: soft boxes over a dark floor.
Colour studio_chrome(Direction d);
// The canyon's stone: banded sandstone lit by a warm low sky.
Colour studio_sandstone(Direction d);
