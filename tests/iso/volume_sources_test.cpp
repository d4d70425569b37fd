// The generated volumes and the meshes made from them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "fake_platform.h"
#include "iso/volume_sources.h"
#include "surface_checks.h"

namespace {

using iso_test::closed_and_consistent;

class VolumeSources : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        polygonizer.mesh = &mesh;
        // Left-overs that every generator must clear away.
        mesh.addVertex(100, 100, 100);
    }
    void expect_report(const char* name) {
        EXPECT_EQ(fake::state.console, "<finalize `" + std::string(name) + "` " + std::to_string(mesh.triangleCount) +
                                           "tris " + std::to_string(mesh.vertexCount) + "verts>\n");
    }
    void expect_unit_normals() {
        for (std::uint32_t v = 0; v < mesh.vertexCount; ++v) {
            const Vector3& n = mesh.normals[v];
            ASSERT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0, 1e-9) << v;
        }
    }
    Mesh mesh{8000, 4000};
    CellPolygonizer polygonizer;
    BitVolume volume;
};

double squared_from_centre(int x, int y, int z) {
    return (x - 15.5) * (x - 15.5) + (y - 15.5) * (y - 15.5) + (z - 15.5) * (z - 15.5);
}

TEST_F(VolumeSources, SphereIsARoughBallOfRadiusSeven) {
    fill_sphere_volume(volume);
    int inside = 0;
    for (int z = 0; z < 32; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                double d = squared_from_centre(x, y, z);
                if (d >= 91) ASSERT_FALSE(volume.get(x, y, z));
                if (d + 42 < 49) ASSERT_TRUE(volume.get(x, y, z));
                inside += volume.get(x, y, z);
            }
    EXPECT_TRUE(volume.get(15, 15, 15));
    EXPECT_GT(inside, 700);   // about the volume of the radius-7 ball, 1437
    EXPECT_LT(inside, 4000);

    iso_sphere(polygonizer, "sphere");
    expect_report("sphere");
    EXPECT_GT(mesh.triangleCount, 1000u);
    EXPECT_LT(mesh.vertexCount, mesh.vertexCapacity);
    EXPECT_EQ(mesh.edgeCount, 0u);  // normals only, no edge table
    EXPECT_EQ(closed_and_consistent(mesh), "");
    expect_unit_normals();
}

TEST_F(VolumeSources, BasketIsTheSameHalfTurnSymmetricWalkEveryTime) {
    fill_basket_volume(volume);
    BitVolume again;
    fill_basket_volume(again);
    EXPECT_EQ(std::memcmp(volume.bits, again.bits, sizeof volume.bits), 0);
    int inside = 0;
    for (int z = 0; z < 32; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!volume.get(x, y, z)) continue;
                ++inside;
                ASSERT_TRUE(x <= 30 && y <= 30 && z <= 30);
                ASSERT_TRUE(volume.get(30 - x, y, 30 - z)) << x << " " << y << " " << z;
                ASSERT_FALSE(x >= 14 && x <= 16 && y >= 14 && y <= 16) << x << " " << y << " " << z;
            }
    EXPECT_GT(inside, 100);

    iso_basket(polygonizer, "basket");
    expect_report("basket");
    EXPECT_GT(mesh.triangleCount, 1000u);
    EXPECT_LT(mesh.triangleCount, mesh.triangleCapacity);
    EXPECT_LT(mesh.vertexCount, mesh.vertexCapacity);
    expect_unit_normals();
    // The mesh has the same half turn: (x, y, z) -> (-x, y, -z) in the model.
    for (std::uint32_t v = 0; v < mesh.vertexCount; ++v) {
        const Vector3& p = mesh.vertices[v];
        std::uint32_t count = mesh.vertexCount;
        ASSERT_LT(mesh.addVertex(-p.x, p.y, -p.z), count) << v;
    }
}

TEST_F(VolumeSources, PoleWidensWithHeightAndIsClosed) {
    fill_pole_volume(volume);
    int bottom = 0;
    double top_radius = 0;
    for (int z = 0; z < 32; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!volume.get(x, y, z)) continue;
                ASSERT_TRUE(x >= 1 && x <= 30 && y >= 1 && y <= 30 && z >= 1 && z <= 30);
                if (y == 1) ++bottom;
                if (y == 30) top_radius = std::max(top_radius, std::hypot(x - 15.5, z - 15.5));
            }
    EXPECT_LE(bottom, 12);
    EXPECT_GT(top_radius, 7.5);   // radius 10, rippled by up to 2.5
    EXPECT_LT(top_radius, 12.5);

    iso_pole(polygonizer, "pole");
    EXPECT_EQ(fake::state.console, "");  // reported by its caller's finalize
    EXPECT_EQ(closed_and_consistent(mesh), "");
    EXPECT_LT(mesh.vertexCount, mesh.vertexCapacity);
    mesh.scale(1, 4, 1);
    mesh.finalize("pole");
    expect_report("pole");
    EXPECT_EQ(mesh.edgeCount * 2, mesh.triangleCount * 3);
}

}  // namespace
