// Stored meshes of arbitrary bytes, handed out by the archive and loaded into
// the demo's title and canyon meshes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "data/file_table.h"
#include "mesh/global_meshes.h"
#include "mesh_checks.h"

namespace {

// One archive entry holding exactly the input, as blob_open leaves it.
void serve(const std::uint8_t* data, std::size_t size) {
    auto* copy = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(copy, data, size);
    file_table = FileTable{};
    file_table.entries[0] = FileData{copy, static_cast<std::int32_t>(size)};
    file_table.archive_entries = 1;
    file_table.from_disk = false;
}

void load_into(Mesh& mesh, const char* path, const std::uint8_t* data, std::size_t size) {
    serve(data, size);
    mesh.loadFile(path);
    check_mesh(mesh);
    std::free(file_table.entries[0].data);
    file_table = FileTable{};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > INT32_MAX) return 0;
    load_into(tekstMesh, "pool/iso/tekst.bin", data, size);
    load_into(canyonMesh, "pool/iso/canyon.bin", data, size);
    return 0;
}
