// The mesh store: welding, triangle and quad inserts with their messages,
// full pools, scaling, stored mesh files and scene objects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "data/file_table.h"
#include "fake_platform.h"
#include "mesh/mesh.h"
#include "mesh/scene_object.h"
#include "temp_dir.h"

namespace {

class MeshStore : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
    }
    std::string& console() { return fake::state.console; }
};

TEST_F(MeshStore, WeldsPointsCloserThanOneHundredthToTheLowestIndex) {
    Mesh mesh(8, 8);
    EXPECT_EQ(mesh.addVertex(0, 0, 0), 0u);
    EXPECT_EQ(mesh.addVertex(0.005, 0, 0), 0u);
    EXPECT_EQ(mesh.addVertex(0.02, 0, 0), 1u);  // four times the squared threshold
    EXPECT_EQ(mesh.vertexCount, 2u);
    EXPECT_EQ(mesh.addVertex(0, 0.015, 0), 2u);
    // (0, 0.0075, 0) is within reach of both 0 and 2; the lower index wins.
    EXPECT_EQ(mesh.addVertex(0, 0.0075, 0), 0u);
    EXPECT_EQ(mesh.addVertex(0.02, 0.0075, 0), 1u);
    EXPECT_EQ(mesh.vertexCount, 3u);
    EXPECT_EQ(mesh.vertices[1].x, 0.02);
    EXPECT_EQ(console(), "");
}

TEST_F(MeshStore, TriangleInsertsReportDegenerateAndEarlyTriangles) {
    Mesh mesh(8, 8);
    mesh.addVertex(0, 0, 0);
    mesh.addVertex(1, 0, 0);
    mesh.addVertex(0, 1, 0);
    EXPECT_EQ(mesh.addTriangle(0, 1, 2, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f), 0u);
    const Triangle& t = mesh.triangles[0];
    EXPECT_EQ(t.index[0], 0);
    EXPECT_EQ(t.index[2], 2);
    EXPECT_FLOAT_EQ(t.s[1], 0.3f);
    EXPECT_FLOAT_EQ(t.t[2], 0.6f);
    EXPECT_DOUBLE_EQ(mesh.faceNormals[0].z, 1.0);
    EXPECT_EQ(console(), "");

    EXPECT_EQ(mesh.addTriangle(0, 1, 1, 0, 0, 0, 0, 0, 0), 1u);
    EXPECT_EQ(console(), "[not my type of triangle]\n\n");
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_FALSE(std::isfinite(mesh.faceNormals[1].x));

    console().clear();
    EXPECT_EQ(mesh.addTriangle(0, 3, 1, 0, 0, 0, 0, 0, 0), 0u);
    EXPECT_EQ(console(), "to early triangle insert 0 3 1\n");
    EXPECT_EQ(mesh.triangleCount, 2u);
}

TEST_F(MeshStore, QuadIsTwoTrianglesSplitOnTheBDDiagonal) {
    Mesh mesh(8, 8);
    for (int i = 0; i < 4; ++i) mesh.addVertex(i % 2, i / 2, 0);
    EXPECT_EQ(mesh.addQuad(0, 1, 3, 2), 1u);
    ASSERT_EQ(mesh.triangleCount, 2u);
    const Triangle& first = mesh.triangles[0];
    const Triangle& second = mesh.triangles[1];
    EXPECT_EQ(std::vector<int>(first.index, first.index + 3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(std::vector<int>(second.index, second.index + 3), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(std::vector<float>(first.s, first.s + 3), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(std::vector<float>(first.t, first.t + 3), (std::vector<float>{0, 0, 1}));
    EXPECT_EQ(std::vector<float>(second.s, second.s + 3), (std::vector<float>{1, 0, 1}));
    EXPECT_EQ(std::vector<float>(second.t, second.t + 3), (std::vector<float>{1, 1, 0}));
}

TEST_F(MeshStore, FullPoolsReportEveryOverflowAndWriteNothingOutside) {
    Mesh mesh(2, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(mesh.addVertex(i, i * i, 0), std::uint32_t(i));
    // A new point past the pool is refused; a welded one still works.
    EXPECT_EQ(mesh.addVertex(9, 9, 9), 3u);
    EXPECT_EQ(mesh.addVertex(8, 8, 8), 3u);
    EXPECT_EQ(mesh.addVertex(1, 1, 0), 1u);
    EXPECT_EQ(mesh.vertexCount, 3u);
    EXPECT_EQ(console(), "uhoh out of vertexMem" "uhoh out of vertexMem");

    console().clear();
    EXPECT_EQ(mesh.addTriangle(0, 1, 3, 0, 0, 0, 0, 0, 0), 0u);  // the refused point cannot be used
    EXPECT_EQ(console(), "to early triangle insert 0 1 3\n");
    console().clear();
    EXPECT_EQ(mesh.addTriangle(0, 1, 2, 0, 0, 0, 0, 0, 0), 0u);
    EXPECT_EQ(mesh.addTriangle(2, 1, 0, 0, 0, 0, 0, 0, 0), 1u);
    EXPECT_EQ(mesh.addTriangle(0, 2, 1, 0, 0, 0, 0, 0, 0), 0u);
    EXPECT_EQ(mesh.addQuad(0, 1, 2, 1), 0u);
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(console(), "uhoh out of triMem" "[not my type of triangle]\n\n" "uhoh out of triMem"
                         "[not my type of triangle]\n\n" "uhoh out of triMem");
}

TEST_F(MeshStore, CapacitiesStopAtWhatSixteenBitRecordsAddress) {
    Mesh mesh(70000, 70000);
    EXPECT_EQ(mesh.vertexCapacity, 65536u);
    EXPECT_EQ(mesh.triangleCapacity, 65535u);
    Mesh small(12, 10);
    EXPECT_EQ(small.vertexCapacity, 10u);
    EXPECT_EQ(small.triangleCapacity, 12u);
}

TEST_F(MeshStore, ClearReusesThePoolsAndKeepsListAndDraw) {
    Mesh mesh(4, 4);
    mesh.displayList = 7;
    MeshDraw op = [](const Mesh&) {};
    mesh.draw = op;
    mesh.buildHexaPrism();  // overflows a 4/4 mesh; only the counts matter here
    mesh.clear();
    EXPECT_EQ(mesh.vertexCount, 0u);
    EXPECT_EQ(mesh.triangleCount, 0u);
    EXPECT_EQ(mesh.edgeCount, 0u);
    EXPECT_EQ(mesh.displayList, 7u);
    EXPECT_EQ(mesh.draw, op);
    EXPECT_EQ(mesh.addVertex(5, 5, 5), 0u);
    EXPECT_EQ(mesh.vertices[0].x, 5);
}

TEST_F(MeshStore, ScaleMovesPositionsButKeepsFaceNormals) {
    Mesh mesh(4, 4);
    mesh.addVertex(0, 0, 0);
    mesh.addVertex(1, 0, 0);
    mesh.addVertex(0, 1, 1);
    mesh.addTriangle(0, 1, 2, 0, 0, 1, 0, 0, 1);
    Vector3 before = mesh.faceNormals[0];
    mesh.scale(1, 4, 1);
    EXPECT_EQ(mesh.vertices[2].y, 4);
    EXPECT_EQ(mesh.faceNormals[0].y, before.y);
    EXPECT_EQ(mesh.faceNormals[0].z, before.z);
    // Vertex normals come from the kept face normals.
    EXPECT_NEAR(mesh.normals[2].y, before.y, 1e-12);
    // The weld search sees the new positions.
    EXPECT_EQ(mesh.addVertex(0, 4, 1), 2u);
    EXPECT_EQ(mesh.addVertex(0, 1, 1), 3u);
}

TEST_F(MeshStore, AttachFillsThePlaneDistances) {
    SceneObject object;
    EXPECT_EQ(object.castsShadow, 1);
    EXPECT_EQ(object.texture, 0);
    EXPECT_EQ(object.mesh, nullptr);

    Mesh mesh(20, 12);
    mesh.buildHexaPrism();
    object.attach(&mesh);
    EXPECT_EQ(object.mesh, &mesh);
    // Every face of the prism lies at distance 1 from its axis or its caps.
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i) EXPECT_NEAR(mesh.planeDistances[i], 1.0, 2e-3) << i;
}

std::string stored_mesh(std::uint32_t v, std::uint32_t t, const std::vector<double>& positions,
                        const std::vector<std::uint16_t>& indices) {
    std::string bytes(8, '\0');
    std::memcpy(&bytes[0], &v, 4);
    std::memcpy(&bytes[4], &t, 4);
    for (double d : positions) bytes.append(reinterpret_cast<const char*>(&d), 8);
    for (std::uint16_t i : indices) bytes.append(reinterpret_cast<const char*>(&i), 2);
    return bytes;
}

class StoredMesh : public MeshStore {
protected:
    void SetUp() override {
        MeshStore::SetUp();
        blob_open();
        console().clear();
    }
    void TearDown() override { blob_close(); }
    fake::TempDir dir;
    Mesh mesh{4, 4};
};

const std::vector<double> tetrahedron = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
const std::vector<std::uint16_t> tetrahedron_faces = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};

TEST_F(StoredMesh, LoadsPositionsUnweldedAndFinalizes) {
    std::vector<double> positions = tetrahedron;
    positions[3] = 0.001;  // would weld onto vertex 0 through addVertex
    fake::write_file("t.bin", stored_mesh(4, 4, positions, tetrahedron_faces));
    mesh.loadFile("t.bin");
    EXPECT_EQ(mesh.vertexCount, 4u);
    EXPECT_EQ(mesh.triangleCount, 4u);
    EXPECT_EQ(mesh.vertices[1].x, 0.001);
    EXPECT_EQ(mesh.triangles[3].index[1], 2);
    EXPECT_EQ(mesh.triangles[3].s[1], 1.0f);
    EXPECT_EQ(mesh.triangles[3].t[2], 1.0f);
    EXPECT_EQ(mesh.edgeCount, 6u);
    EXPECT_EQ(console(), "file.io  1 :: `t.bin`  128B \n<finalize `t.bin` 4tris 4verts>\n");
}

TEST_F(StoredMesh, RefusesFilesThatDoNotFitAndLeavesTheMeshEmpty) {
    const std::string good = stored_mesh(4, 4, tetrahedron, tetrahedron_faces);
    const std::string cases[] = {
        stored_mesh(5, 4, std::vector<double>(15, 0.5), tetrahedron_faces),  // too many vertices
        stored_mesh(4, 5, tetrahedron, std::vector<std::uint16_t>(15, 0)),   // too many triangles
        good.substr(0, good.size() - 1),                                     // cut short
        stored_mesh(0xFFFFFFFFu, 0xFFFFFFFFu, {}, {}),                       // counts that overflow
        "abc",                                                               // no header
    };
    for (const std::string& bytes : cases) {
        fake::write_file("bad.bin", bytes);
        mesh.addVertex(1, 2, 3);
        console().clear();
        mesh.loadFile("bad.bin");
        EXPECT_EQ(mesh.vertexCount, 0u);
        EXPECT_EQ(mesh.triangleCount, 0u);
        EXPECT_NE(console().find("refused"), std::string::npos) << console();
        EXPECT_NE(console().find("<finalize `bad.bin` 0tris 0verts>\n"), std::string::npos);
    }
    mesh.addVertex(1, 2, 3);
    console().clear();
    mesh.loadFile("missing.bin");
    EXPECT_EQ(mesh.vertexCount, 0u);
    EXPECT_EQ(console(), "<finalize `missing.bin` 0tris 0verts>\n");
    EXPECT_EQ(fake::state.boxes.size(), 1u);  // the loader's own report
}

TEST_F(StoredMesh, TrianglesPastTheVerticesAreRefusedByTheStore) {
    fake::write_file("t.bin", stored_mesh(3, 2, std::vector<double>(tetrahedron.begin(), tetrahedron.begin() + 9),
                                          {0, 1, 2, 0, 1, 3}));
    mesh.loadFile("t.bin");
    EXPECT_EQ(mesh.triangleCount, 1u);
    EXPECT_NE(console().find("to early triangle insert 0 1 3\n"), std::string::npos);
}

}  // namespace
