// Vertex normals, the edge table and the finalize report; the weld and edge
// lookups against plain scans of the whole pools.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "fake_platform.h"
#include "mesh/mesh.h"

namespace {

class Finalize : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
    }
};

void expect_edge(const Edge& e, int from, int to, int first, int second) {
    EXPECT_EQ(e.from, from);
    EXPECT_EQ(e.to, to);
    EXPECT_EQ(e.firstTriangle, first);
    EXPECT_EQ(e.secondTriangle, second);
}

TEST_F(Finalize, SingleTriangleHasThreeOpenEdgesAndItsOwnNormal) {
    Mesh mesh(4, 4);
    mesh.addVertex(0, 0, 0);
    mesh.addVertex(0, 2, 0);
    mesh.addVertex(0, 0, 3);
    mesh.addTriangle(0, 1, 2, 0, 0, 1, 0, 0, 1);
    mesh.finalize("one");
    ASSERT_EQ(mesh.edgeCount, 3u);
    expect_edge(mesh.edges[0], 0, 1, 0, no_second_triangle);
    expect_edge(mesh.edges[1], 1, 2, 0, no_second_triangle);
    expect_edge(mesh.edges[2], 2, 0, 0, no_second_triangle);
    for (int v = 0; v < 3; ++v) {
        EXPECT_DOUBLE_EQ(mesh.normals[v].x, 1.0);
        EXPECT_DOUBLE_EQ(mesh.normals[v].y, 0.0);
    }
    EXPECT_EQ(fake::state.console, "<finalize `one` 1tris 3verts>\n");
}

TEST_F(Finalize, SharedEdgeGetsItsSecondTriangle) {
    Mesh mesh(4, 4);
    for (int i = 0; i < 4; ++i) mesh.addVertex(i % 2, i / 2, 0);
    mesh.addTriangle(0, 1, 2, 0, 0, 0, 0, 0, 0);
    mesh.addTriangle(2, 1, 3, 0, 0, 0, 0, 0, 0);
    mesh.finalize("pair");
    ASSERT_EQ(mesh.edgeCount, 5u);
    expect_edge(mesh.edges[1], 1, 2, 0, 1);
    expect_edge(mesh.edges[3], 1, 3, 1, no_second_triangle);
}

TEST_F(Finalize, ClosedBoxHasEighteenEdgesAndSummedCornerNormals) {
    Mesh mesh(12, 8);
    mesh.addBox({0, 0, 0}, {1, 2, 3}, 63);
    mesh.finalize("box");
    mesh.finalize("box");  // a second call rebuilds the same tables
    ASSERT_EQ(mesh.edgeCount, 18u);
    for (std::uint32_t e = 0; e < 18; ++e) {
        EXPECT_LT(mesh.edges[e].firstTriangle, mesh.edges[e].secondTriangle);
        EXPECT_LT(mesh.edges[e].secondTriangle, 12);
    }
    // Corner a = (0, 0, 3) has one triangle on each of its three faces. Unit
    // normals count alike whatever the triangles' areas, so even this 1 x 2 x 3
    // box has the diagonal (-1, -1, 1) / sqrt 3 there.
    const Vector3& n = mesh.normals[0];
    const double k = 1 / std::sqrt(3.0);
    EXPECT_NEAR(n.x, -k, 1e-12);
    EXPECT_NEAR(n.y, -k, 1e-12);
    EXPECT_NEAR(n.z, k, 1e-12);
    EXPECT_EQ(fake::state.console, "<finalize `box` 12tris 8verts>\n<finalize `box` 12tris 8verts>\n");
}

TEST_F(Finalize, UnusedVertexHasNoDirection) {
    Mesh mesh(4, 4);
    mesh.addVertex(1, 1, 1);
    mesh.computeVertexNormals();
    EXPECT_FALSE(std::isfinite(mesh.normals[0].x));
}

// What the weld search must return: a scan from vertex 0 upward.
std::uint32_t scan_weld(const std::vector<Vector3>& points, double x, double y, double z) {
    for (std::uint32_t i = 0; i < points.size(); ++i) {
        double dx = points[i].x - x, dy = points[i].y - y, dz = points[i].z - z;
        if (dx * dx + dy * dy + dz * dz < weld_distance_squared) return i;
    }
    return static_cast<std::uint32_t>(points.size());
}

TEST_F(Finalize, WeldLookupMatchesAScanOnRandomPoints) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coarse(-0.2, 0.2), jitter(-0.012, 0.012);
    std::uniform_int_distribution<int> pick(0, 9);
    const double odd[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300, 0.02, -0.02, 0.0};
    for (int round = 0; round < 20; ++round) {
        Mesh mesh(8, 3000);
        std::vector<Vector3> reference;
        for (int n = 0; n < 2000; ++n) {
            // Mostly near an earlier point, around the weld distance.
            Vector3 near = reference.empty() ? Vector3{0, 0, 0} : reference[random() % reference.size()];
            double p[3] = {near.x, near.y, near.z};
            for (double& c : p) {
                int kind = pick(random);
                c = kind == 0 ? odd[random() % 8] : kind < 6 ? c + jitter(random) : coarse(random);
            }
            if (n == 1000) {  // moved vertices must be found at their new places
                mesh.scale(1.5, 1, 0.5);
                for (Vector3& v : reference) v = Vector3{v.x * 1.5, v.y, v.z * 0.5};
            }
            std::uint32_t expected = scan_weld(reference, p[0], p[1], p[2]);
            ASSERT_EQ(mesh.addVertex(p[0], p[1], p[2]), expected) << round << " " << n;
            if (expected == reference.size()) reference.push_back(Vector3{p[0], p[1], p[2]});
        }
    }
}

// What the edge table must hold: a scan of all records that keeps the last match.
std::vector<Edge> scan_edges(const Mesh& mesh) {
    std::vector<Edge> table;
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i)
        for (int k = 0; k < 3; ++k) {
            std::uint16_t p = mesh.triangles[i].index[k], q = mesh.triangles[i].index[(k + 1) % 3];
            int match = -1;
            for (int e = 0; e < int(table.size()); ++e)
                if ((table[e].from == p && table[e].to == q) || (table[e].from == q && table[e].to == p)) match = e;
            if (match >= 0)
                table[match].secondTriangle = std::uint16_t(i);
            else
                table.push_back(Edge{p, q, std::uint16_t(i), no_second_triangle});
        }
    return table;
}

TEST_F(Finalize, EdgeLookupMatchesAScanOnRandomTriangleSoups) {
    std::mt19937 random(11);
    for (int round = 0; round < 30; ++round) {
        const int vertices = 4 + round * 3;
        Mesh mesh(600, vertices);
        for (int v = 0; v < vertices; ++v) mesh.addVertex(v, v * v, 0);
        std::uniform_int_distribution<int> corner(0, vertices - 1);
        for (int t = 0; t < 500; ++t)  // repeated, reversed and degenerate edges included
            mesh.addTriangle(corner(random), corner(random), corner(random), 0, 0, 0, 0, 0, 0);
        mesh.finalize("soup");
        std::vector<Edge> expected = scan_edges(mesh);
        ASSERT_EQ(mesh.edgeCount, expected.size());
        for (std::uint32_t e = 0; e < mesh.edgeCount; ++e) {
            SCOPED_TRACE(e);
            expect_edge(mesh.edges[e], expected[e].from, expected[e].to, expected[e].firstTriangle,
                        expected[e].secondTriangle);
        }
    }
}

}  // namespace
