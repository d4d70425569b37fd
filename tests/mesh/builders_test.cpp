// Boxes, the prism, the cube frame and the tunnel segment, and the
// closed-surface diagnostic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "fake_platform.h"
#include "mesh/mesh.h"

namespace {

class Builders : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
    }
    std::string& console() { return fake::state.console; }
};

// Every edge has a second triangle and each record runs once each way.
void expect_closed(const Mesh& mesh) {
    EXPECT_EQ(mesh.edgeCount * 2, mesh.triangleCount * 3);
    for (std::uint32_t e = 0; e < mesh.edgeCount; ++e) {
        const Edge& edge = mesh.edges[e];
        ASSERT_NE(edge.secondTriangle, no_second_triangle) << e;
        const std::uint16_t* t = mesh.triangles[edge.secondTriangle].index;
        bool reversed = false;
        for (int k = 0; k < 3; ++k) reversed |= t[k] == edge.to && t[(k + 1) % 3] == edge.from;
        EXPECT_TRUE(reversed) << e;
    }
}

// Face normals point away from `centre` (true for the convex shapes here).
void expect_outward(const Mesh& mesh, Vector3 centre) {
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i) {
        const Vector3& p = mesh.vertices[mesh.triangles[i].index[0]];
        const Vector3& n = mesh.faceNormals[i];
        EXPECT_GT((p.x - centre.x) * n.x + (p.y - centre.y) * n.y + (p.z - centre.z) * n.z, 0) << i;
    }
}

TEST_F(Builders, BoxFaceMasks) {
    Mesh mesh(32, 16);
    mesh.addBox({0, 0, 0}, {1, 1, 1}, 0);
    EXPECT_EQ(mesh.vertexCount, 8u);
    EXPECT_EQ(mesh.triangleCount, 0u);
    mesh.addBox({0, 0, 0}, {1, 1, 1}, 63 | 64 | 128 | 1 << 14);  // ignored bits add nothing
    EXPECT_EQ(mesh.triangleCount, 12u);
    mesh.finalize("box");
    expect_closed(mesh);
    expect_outward(mesh, {0.5, 0.5, 0.5});
    EXPECT_NEAR(mesh.normals[3].x, -1 / std::sqrt(3.0), 1e-12);  // corner d = (0, 0, 0)
    mesh.manifoldTest();
    EXPECT_EQ(console(), "<finalize `box` 12tris 8verts>\n");

    Mesh inward(32, 16);
    inward.addBox({0, 0, 0}, {1, 1, 1}, 63 << 8);
    for (std::uint32_t i = 0; i < 12; ++i) {
        EXPECT_DOUBLE_EQ(inward.faceNormals[i].x, -mesh.faceNormals[i].x);
        EXPECT_DOUBLE_EQ(inward.faceNormals[i].z, -mesh.faceNormals[i].z);
    }
}

TEST_F(Builders, BoxesSharingAFaceShareItsCorners) {
    Mesh mesh(32, 16);
    mesh.addBox({0, 0, 0}, {1, 1, 1}, 63 & ~8);  // no x = 1 face
    mesh.addBox({1, 0, 0}, {2, 1, 1}, 63 & ~4);  // no x = 1 face
    EXPECT_EQ(mesh.vertexCount, 12u);
    mesh.finalize("bar");
    expect_closed(mesh);
}

TEST_F(Builders, HexaPrismIsClosedWithTwentyTriangles) {
    Mesh mesh(32, 32);
    mesh.buildHexaPrism();
    EXPECT_EQ(console(), "<finalize `hexa` 20tris 12verts>\n");
    expect_closed(mesh);
    expect_outward(mesh, {0, 0, 0});
    EXPECT_EQ(mesh.vertices[5].x, 1);
    EXPECT_EQ(mesh.vertices[5].z, 0.577);
    EXPECT_EQ(mesh.triangles[0].s[0], 0.5f);  // bottom cap a (0.5, 0)
}

TEST_F(Builders, CubeFramesAreClosed) {
    const double sizes[3][2] = {{60, 64}, {30, 32}, {90, 96}};
    for (const auto& size : sizes) {
        Mesh mesh(256, 128);
        console().clear();
        mesh.buildCubeFrame("wire0", size[0], size[1]);
        EXPECT_EQ(console(), "<finalize `wire0` 144tris 64verts>\n");
        EXPECT_EQ(mesh.edgeCount, 216u);
        expect_closed(mesh);
        console().clear();
        mesh.manifoldTest();
        EXPECT_EQ(console(), "");
    }
}

TEST_F(Builders, TunnelSegmentsAreClosedAndTheirCheckIsSilent) {
    const double sizes[2][2] = {{7, 8}, {21.5, 22.5}};
    for (const auto& size : sizes) {
        Mesh mesh(256, 128);
        console().clear();
        EXPECT_EQ(mesh.buildTunnelSegment("wireTujnnel", size[0], size[1]), 0);
        EXPECT_EQ(console(), "<finalize `wireTujnnel` 124tris 64verts>\n");
        EXPECT_EQ(mesh.edgeCount, 186u);
        expect_closed(mesh);
    }
}

TEST_F(Builders, ConsecutiveTunnelSegmentsCompleteEachOthersRings) {
    // Two segments 3A + B apart: the front ring of one and the back ring of
    // the next fill the same slab, each half without the faces between.
    Mesh one(256, 128);
    one.buildTunnelSegment("a", 7, 8);
    double slab_front = 0, slab_back = 1e9;
    for (std::uint32_t v = 0; v < one.vertexCount; ++v) {
        slab_front = std::max(slab_front, one.vertices[v].z);
        slab_back = std::min(slab_back, one.vertices[v].z + 29);
    }
    EXPECT_EQ(slab_front, 15);  // A + B
    EXPECT_EQ(slab_back, 14);   // 29 - (A + B)
}

class Manifold : public Builders {
protected:
    // Vertices 0, 1, 2 and `copies` copies of the triangle (0, 1, 2).
    void triangles(int copies) {
        for (int i = 0; i < 3; ++i) mesh.addVertex(i, i * i, 0);
        for (int c = 0; c < copies; ++c) mesh.addTriangle(0, 1, 2, 0, 0, 0, 0, 0, 0);
    }
    Mesh mesh{4, 4};
};

TEST_F(Manifold, EmptyMeshSaysNothing) {
    EXPECT_EQ(mesh.manifoldTest(), 0);
    EXPECT_EQ(console(), "");
}

TEST_F(Manifold, SingleTriangleHasThreeOpenEdges) {
    triangles(1);
    EXPECT_EQ(mesh.manifoldTest(), 0);
    EXPECT_EQ(console(), "[manifold test: 3edges(expected around1) ]\n[R0 0 1]\n[R0 1 2]\n[R0 2 0]\n");
}

TEST_F(Manifold, RepeatedTriangleRunsItsEdgesTwiceTheSameWay) {
    triangles(2);
    mesh.manifoldTest();
    EXPECT_EQ(console(), "[L2  0-1]\n[R0 0 1]\n[L2  1-2]\n[R0 1 2]\n[L2  2-0]\n[R0 2 0]\n");
}

TEST_F(Manifold, StopsRecordingAtItsTableSize) {
    // 1500 separate triangles: 4500 edges, more than the table holds.
    Mesh big(1500, 4500);
    for (int t = 0; t < 1500; ++t) {
        std::uint32_t a = big.addVertex(t, 0, 0), b = big.addVertex(t, 1, 0), c = big.addVertex(t, 0, 1);
        big.addTriangle(a, b, c, 0, 0, 0, 0, 0, 0);
    }
    console().clear();
    big.manifoldTest();
    const std::string& log = console();
    EXPECT_EQ(log.rfind("[manifold test: more than 4096 edges, the rest is not checked]\n", 0), 0u) << log.substr(0, 200);
    EXPECT_NE(log.find("[manifold test: 4096edges(expected around2250) ]\n"), std::string::npos);
    // Every recorded edge is open; the last one recorded is the 4096th met.
    size_t open = 0;
    for (size_t at = log.find("[R0 "); at != std::string::npos; at = log.find("[R0 ", at + 1)) ++open;
    EXPECT_EQ(open, 4096u);
    EXPECT_NE(log.find("[R0 4095 4096]\n"), std::string::npos);
    EXPECT_EQ(log.find("[R0 4096 4097]\n"), std::string::npos);
}

}  // namespace
