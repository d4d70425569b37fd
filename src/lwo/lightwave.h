// LightWave object files (LWOB and LWO2), read into a Mesh with
// Mesh::readLightWave (declared with the mesh).
#pragma once

// 1 after an LWOB form was entered, 2 after an LWO2 form, 0 before either.
// It decides how polygon chunks are read and carries over to the next file.
extern int lightWaveVersion;
