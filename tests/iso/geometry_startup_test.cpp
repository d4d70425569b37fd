// Everything the demo's start-up builds as geometry, into the global meshes
// with their real capacities: the generated volumes, a dolphin-sized
// LightWave object, canyon- and tekst-sized stored meshes, the frames,
// tunnel segments and prisms. Checks that it all fits (demo_benchmark times
// it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "data/file_table.h"
#include "demo/draw_scratch.h"
#include "demo/scene_geometry.h"
#include "fake_platform.h"
#include "lwo_writer.h"
#include "mesh/global_meshes.h"
#include "temp_dir.h"

namespace {

// A rolling height field of `columns` x `rows` points, triangulated until
// `triangles` triangles are written.
std::string height_field(int columns, int rows, std::uint32_t triangles) {
    std::uint32_t v = columns * rows;
    std::string bytes(8, '\0');
    std::memcpy(&bytes[0], &v, 4);
    std::memcpy(&bytes[4], &triangles, 4);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            double p[3] = {c * 0.5, std::sin(c * 0.3) * std::cos(r * 0.2) * 3, r * 0.5};
            bytes.append(reinterpret_cast<const char*>(p), sizeof p);
        }
    std::uint32_t written = 0;
    for (int r = 0; r + 1 < rows && written < triangles; ++r)
        for (int c = 0; c + 1 < columns && written < triangles; ++c) {
            std::uint16_t a = r * columns + c, b = a + 1, d = a + columns, e = d + 1;
            std::uint16_t pair[6] = {a, d, b, b, d, e};
            bytes.append(reinterpret_cast<const char*>(pair), written + 2 <= triangles ? 12 : 6);
            written += written + 2 <= triangles ? 2 : 1;
        }
    return bytes;
}

bool closed(const Mesh& mesh) {
    if (mesh.edgeCount * 2 != mesh.triangleCount * 3) return false;
    for (std::uint32_t e = 0; e < mesh.edgeCount; ++e)
        if (mesh.edges[e].secondTriangle == no_second_triangle) return false;
    return true;
}

TEST(GeometryStartup, EverythingFitsItsMesh) {
    fake::reset();
    fake::TempDir dir;
    lwo::Ball ball = lwo::make_ball(40, 50, 100);
    fake::write_file("pool/dolphin.lwo",
                     lwo::form("LWOB", lwo::points(ball.points) + lwo::lwob_polygons(ball.polygons)));
    fake::write_file("pool/iso/canyon.bin", height_field(100, 80, 12000));
    fake::write_file("pool/iso/tekst.bin", height_field(80, 50, 7742));
    blob_open();
    platform::console_allocate();

    build_scene_geometry();
    blob_close();

    const std::string& log = fake::state.console;
    EXPECT_EQ(log.find("uhoh"), std::string::npos) << log;
    EXPECT_EQ(log.find("to early"), std::string::npos);
    EXPECT_EQ(log.find("refused"), std::string::npos);
    EXPECT_EQ(log.find("[manifold"), std::string::npos);
    EXPECT_NE(log.find("<finalize `dolfijn` 4000tris 2002verts>\n"), std::string::npos) << log;
    EXPECT_NE(log.find("<finalize `pool/iso/canyon.bin` 12000tris 8000verts>\n"), std::string::npos);
    // The height field is one disc: edges = used vertices + triangles - 1.
    std::vector<bool> used(canyonMesh.vertexCount);
    for (std::uint32_t i = 0; i < canyonMesh.triangleCount; ++i)
        for (std::uint16_t v : canyonMesh.triangles[i].index) used[v] = true;
    EXPECT_EQ(canyonMesh.edgeCount, std::count(used.begin(), used.end(), true) + 12000 - 1);
    EXPECT_GT(sphereMesh.triangleCount, 1000u);
    EXPECT_GT(basketMesh.triangleCount, 1000u);
    EXPECT_GT(poleMesh.triangleCount, 1000u);
    for (const Mesh* mesh : {&poleMesh, &dolphinMesh, &wire0Mesh, &wire1Mesh, &wire2Mesh, &tunnelInnerMesh,
                             &tunnelOuterMesh, &airshipMeshA, &airshipMeshB, &columnMesh})
        EXPECT_TRUE(closed(*mesh)) << mesh->triangleCount;
    EXPECT_EQ(DrawScratch().shadow_of(canyonObject).vertexCount, 16000u);
}

}  // namespace
