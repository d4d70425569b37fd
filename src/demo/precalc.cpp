#include "demo/precalc.h"

#include "image/texture.h"

void precalc() { loading_screen(0.0); }
