// Stored meshes: two little-endian counts, the positions as doubles, then the
// triangles as three 16-bit vertex numbers each.
#include <cstring>

#include "log/log.h"
#include "data/file_table.h"
#include "mesh/mesh.h"

namespace {

std::uint64_t read_le(const std::uint8_t* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

double read_double(const std::uint8_t* p) {
    std::uint64_t bits = read_le(p, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A file is taken only whole: both counts fit the pools and every byte they
// announce is there.
bool fits(const Mesh& mesh, const FileData& file, std::uint32_t v, std::uint32_t t) {
    if (!file.data || file.size < 8) return false;
    std::uint64_t needed = 8 + 24 * std::uint64_t{v} + 6 * std::uint64_t{t};
    return v <= mesh.vertexCapacity && t <= mesh.triangleCapacity && needed <= std::uint64_t(file.size);
}

}  // namespace

void Mesh::loadFile(const char* path) {
    clear();
    FileData file{nullptr, 0};
    if (load_file(path, &file) == load_ok) {
        std::uint32_t v = file.size >= 8 ? static_cast<std::uint32_t>(read_le(file.data, 4)) : 0;
        std::uint32_t t = file.size >= 8 ? static_cast<std::uint32_t>(read_le(file.data + 4, 4)) : 0;
        if (fits(*this, file, v, t)) {
            const std::uint8_t* p = file.data + 8;
            for (std::uint32_t i = 0; i < v; ++i, p += 24)
                vertices[i] = Vector3{read_double(p), read_double(p + 8), read_double(p + 16)};
            vertexCount = v;
            verticesMoved();
            for (std::uint32_t i = 0; i < t; ++i, p += 6)
                addTriangle(read_le(p, 2), read_le(p + 2, 2), read_le(p + 4, 2), 0, 0, 1, 0, 0, 1);
        } else {
            log_print("<mesh file `%s` refused: %u verts %u tris in %iB, room for %u verts %u tris>\n", path, v, t,
                      file.size, vertexCapacity, triangleCapacity);
            error_unattended("%s is damaged: it does not read as a mesh (%u vertices, %u triangles in %i bytes)",
                             path, v, t, file.size);
        }
        release_file(path, &file);
    }
    finalize(path);
}
