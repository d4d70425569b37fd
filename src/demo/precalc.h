// Everything the demo builds before it starts, behind the loading screen.
#pragma once

void precalc();
