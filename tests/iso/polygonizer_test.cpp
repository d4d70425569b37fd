// The cell polygonizer and its case table.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "fake_platform.h"
#include "iso/cell_polygonizer.h"
#include "surface_checks.h"

namespace {

using iso_test::closed_and_consistent;
using iso_test::grid_point;
using iso_test::winding_number;

// Corners at the ends of each cell edge.
constexpr int edge_corners[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 5},
                                     {2, 6}, {3, 7}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};
constexpr int corner_offset[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                     {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};

class Polygonizer : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        volume.clear();
        polygonizer.mesh = &mesh;
    }
    void run() {
        mesh.clear();
        polygonizer.polygonize(volume);
    }
    // Inside grid points have winding 1, outside ones 0, within the box.
    void expect_winding(int lo, int hi, int step = 1) {
        for (int z = lo; z <= hi; z += step)
            for (int y = lo; y <= hi; y += step)
                for (int x = lo; x <= hi; x += step)
                    ASSERT_NEAR(winding_number(mesh, grid_point(x, y, z)), volume.get(x, y, z) ? 1 : 0, 1e-6)
                        << x << " " << y << " " << z;
    }
    BitVolume volume;
    Mesh mesh{65535, 65536};
    CellPolygonizer polygonizer;
};

TEST_F(Polygonizer, CaseTableHas640TrianglesAnd90QuadsOnCrossingEdges) {
    int triangles = 0, quads = 0;
    for (int c = 0; c < 256; ++c) {
        std::set<int> used;
        for (int at = 0; cell_cases[c][at] != 0; at += cell_cases[c][at] + 1) {
            ASSERT_LT(at + cell_cases[c][at], case_row_length);
            (cell_cases[c][at] == 3 ? triangles : quads) += 1;
            for (int k = 1; k <= cell_cases[c][at]; ++k) used.insert(cell_cases[c][at + k]);
        }
        // Exactly the edges whose corners differ carry surface vertices.
        std::set<int> crossing;
        for (int e = 0; e < 12; ++e)
            if ((c >> edge_corners[e][0] & 1) != (c >> edge_corners[e][1] & 1)) crossing.insert(e);
        EXPECT_EQ(used, crossing) << c;
    }
    EXPECT_EQ(triangles, 640);
    EXPECT_EQ(quads, 90);
}

TEST_F(Polygonizer, EmptyAndFullVolumesGiveNothing) {
    run();
    EXPECT_EQ(mesh.triangleCount, 0u);
    std::fill(std::begin(volume.bits), std::end(volume.bits), 0xFF);
    run();
    EXPECT_EQ(mesh.triangleCount, 0u);
    EXPECT_EQ(mesh.vertexCount, 0u);
}

TEST_F(Polygonizer, OneInsidePointGivesAnOutwardOctahedron) {
    volume.set(10, 10, 10);
    run();
    ASSERT_EQ(mesh.triangleCount, 8u);
    ASSERT_EQ(mesh.vertexCount, 6u);
    // The first cell, (9, 9, 9), has the point as corner 6: row (6 9 10).
    const double expected[6][3] = {{-5, -5, -5.5}, {-5, -5.5, -5}, {-5.5, -5, -5},
                                   {-4.5, -5, -5}, {-5, -4.5, -5}, {-5, -5, -4.5}};
    for (int v = 0; v < 6; ++v) {
        EXPECT_EQ(mesh.vertices[v].x, expected[v][0]) << v;
        EXPECT_EQ(mesh.vertices[v].y, expected[v][1]) << v;
        EXPECT_EQ(mesh.vertices[v].z, expected[v][2]) << v;
    }
    // One triangle per surrounding cell, each facing away from the point.
    std::set<std::tuple<int, int, int>> octants;
    for (std::uint32_t i = 0; i < 8; ++i) {
        Vector3 sum{0, 0, 0};
        for (std::uint16_t v : mesh.triangles[i].index) {
            sum.x += mesh.vertices[v].x + 5;
            sum.y += mesh.vertices[v].y + 5;
            sum.z += mesh.vertices[v].z + 5;
        }
        const Vector3& n = mesh.faceNormals[i];
        EXPECT_GT(sum.x * n.x + sum.y * n.y + sum.z * n.z, 0) << i;
        octants.insert({sum.x > 0, sum.y > 0, sum.z > 0});
    }
    EXPECT_EQ(octants.size(), 8u);
    EXPECT_EQ(closed_and_consistent(mesh), "");
    expect_winding(8, 12);
}

TEST_F(Polygonizer, QuadsAreSplitOnTheirBDDiagonal) {
    // Cell with corners 0 and 1 inside (index 3): row [1 3 4 5].
    for (int e = 0; e < 12; ++e) polygonizer.edgePoints[e] = Vector3{double(e), double(e * e), 0};
    polygonizer.emitCell(3);
    ASSERT_EQ(mesh.triangleCount, 2u);
    ASSERT_EQ(mesh.vertexCount, 4u);  // edges 1, 3, 4, 5 in that order
    EXPECT_EQ(mesh.vertices[2].x, 4);
    auto corners = [&](int t) {
        return std::vector<int>(mesh.triangles[t].index, mesh.triangles[t].index + 3);
    };
    EXPECT_EQ(corners(0), (std::vector<int>{0, 1, 3}));  // edges 1 3 5
    EXPECT_EQ(corners(1), (std::vector<int>{2, 3, 1}));  // edges 4 5 3

    // Two neighbours along x make cells of indices 3 and 12 among others.
    volume.set(10, 10, 10);
    volume.set(11, 10, 10);
    run();
    EXPECT_EQ(closed_and_consistent(mesh), "");
    expect_winding(8, 13);
}

TEST_F(Polygonizer, PointsOnTheOuterLayerLeaveTheSurfaceOpen) {
    volume.set(0, 10, 10);
    run();
    EXPECT_EQ(mesh.triangleCount, 4u);  // only the cells on the x = 0 side exist
    EXPECT_NE(closed_and_consistent(mesh), "");
}

TEST_F(Polygonizer, EveryCaseInsideTheGridIsClosedAndFacesOutward) {
    for (int c = 1; c < 255; ++c) {
        SCOPED_TRACE(c);
        volume.clear();
        for (int k = 0; k < 8; ++k)
            if (c >> k & 1) volume.set(10 + corner_offset[k][0], 10 + corner_offset[k][1], 10 + corner_offset[k][2]);
        run();
        ASSERT_EQ(closed_and_consistent(mesh), "");
        expect_winding(9, 12);
    }
}

TEST_F(Polygonizer, RandomVolumesAreClosedAndFaceOutward) {
    std::mt19937 random(2024);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        volume.clear();
        const int size = 3 + random() % 8;
        const int lo = 1 + random() % (30 - size);
        std::bernoulli_distribution inside(0.2 + 0.15 * (round % 5));
        for (int z = lo; z < lo + size; ++z)
            for (int y = lo; y < lo + size; ++y)
                for (int x = lo; x < lo + size; ++x)
                    if (inside(random)) volume.set(x, y, z);
        run();
        ASSERT_EQ(closed_and_consistent(mesh), "");
        // A sample of the grid points in and around the box.
        for (int sample = 0; sample < 60; ++sample) {
            int x = lo - 1 + random() % (size + 2), y = lo - 1 + random() % (size + 2), z = lo - 1 + random() % (size + 2);
            ASSERT_NEAR(winding_number(mesh, grid_point(x, y, z)), volume.get(x, y, z) ? 1 : 0, 1e-6)
                << x << " " << y << " " << z;
        }
        mesh.finalize("random");
        for (std::uint32_t e = 0; e < mesh.edgeCount; ++e)
            ASSERT_NE(mesh.edges[e].secondTriangle, no_second_triangle);
    }
}

TEST_F(Polygonizer, HalfDensityVolumeAcrossTheGridIsClosedAndFacesOutward) {
    // Points from 1 to 30 inside with probability one half, in the lower half
    // of the grid along z: the whole grid would pass the 65,535 triangles a
    // mesh can hold.
    std::mt19937 random(99);
    std::bernoulli_distribution inside(0.5);
    for (int z = 1; z <= 15; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 30; ++x)
                if (inside(random)) volume.set(x, y, z);
    run();
    EXPECT_GT(mesh.triangleCount, 40000u);
    EXPECT_LT(mesh.triangleCount, mesh.triangleCapacity);
    ASSERT_EQ(closed_and_consistent(mesh), "");
    for (int sample = 0; sample < 12; ++sample) {
        int x = random() % 32, y = random() % 32, z = random() % 17;
        ASSERT_NEAR(winding_number(mesh, grid_point(x, y, z)), volume.get(x, y, z) ? 1 : 0, 1e-6)
            << x << " " << y << " " << z;
    }
}

}  // namespace
