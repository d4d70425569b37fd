// LightWave objects of arbitrary bytes into the dolphin's mesh, LWOB and LWO2
// alike, then finalized as the demo does.
#include <cstdint>
#include <cstring>
#include <vector>

#include "lwo/lightwave.h"
#include "mesh/global_meshes.h"
#include "mesh_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > INT32_MAX) return 0;
    std::vector<std::uint8_t> image(data, data + size);  // exactly the file's bytes
    lightWaveVersion = 0;
    dolphinMesh.clear();
    dolphinMesh.readLightWave(static_cast<std::int32_t>(size), image.data());
    check_mesh(dolphinMesh);
    dolphinMesh.finalize("dolphin");
    check_mesh(dolphinMesh);
    return 0;
}
