// Shadow volumes of the demo's casters, built from many light positions:
// they must be closed and consistently wound, or the stencil count that
// decides what lies in shadow goes wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "demo/draw_scratch.h"
#include "demo/scene_geometry.h"
#include "demo/shadow_volume.h"
#include "fake_platform.h"
#include "mesh/global_meshes.h"

namespace {

using DirectedEdges = std::map<std::pair<int, int>, int>;

DirectedEdges directed_edges(const Mesh& m) {
    DirectedEdges count;
    for (std::uint32_t t = 0; t < m.triangleCount; ++t)
        for (int c = 0; c < 3; ++c) ++count[{m.triangles[t].index[c], m.triangles[t].index[(c + 1) % 3]}];
    return count;
}

// Closed and consistently wound: every directed edge is matched by as many
// uses of its reverse. (A vertex the silhouette passes through twice carries
// two side edges to its extruded copy, so counts of 2 are fine.)
::testing::AssertionResult closed_and_consistent(const Mesh& m) {
    DirectedEdges count = directed_edges(m);
    for (const auto& [edge, n] : count) {
        auto reverse = count.find({edge.second, edge.first});
        if (reverse == count.end() || reverse->second != n)
            return ::testing::AssertionFailure() << "edge " << edge.first << "->" << edge.second << " used " << n
                                                 << ", its reverse " << (reverse == count.end() ? 0 : reverse->second);
    }
    return ::testing::AssertionSuccess() << m.triangleCount << " triangles";
}

// The casters of the demo, built by start-up's own builders.
class Casters : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fake::reset();
        build_frames_and_tunnel();
        build_airships_and_columns();
    }
    static Vector3 light(int i) {  // spread over shells around and inside the meshes
        double r = 3 + (i % 7) * 25.0, a = i * 2.399963, b = std::acos(1 - 2 * ((i * 0.618034) - std::floor(i * 0.618034)));
        return {r * std::sin(b) * std::cos(a), r * std::cos(b), r * std::sin(b) * std::sin(a)};
    }
};

// Closed from every light position, and never full: caps plus two sides for
// every edge bound any outline (576 triangles for a frame, more than twice
// its capacity of 256), and the shadow mesh is sized for that bound.
TEST_F(Casters, VolumesAreClosedAndFitFromEveryLightPosition) {
    for (Mesh* mesh : {&wire0Mesh, &wire2Mesh, &tunnelInnerMesh, &tunnelOuterMesh, &airshipMeshA, &columnMesh}) {
        SceneObject object;
        object.attach(mesh);
        DrawScratch scratch;
        Mesh& shadow = scratch.shadow_of(object);
        const Pose pose{1.5, -2, 4, 0.7, 1.570796, 0.3};
        ASSERT_GE(shadow.triangleCapacity, mesh->triangleCount + 2 * mesh->edgeCount);
        std::uint32_t most = 0;
        for (int i = 0; i < 200; ++i) {
            shadow_volume_build(object, pose, light(i), shadow, scratch.lit);
            most = std::max(most, shadow.triangleCount);
            ASSERT_TRUE(closed_and_consistent(shadow)) << "light " << i;
            ASSERT_EQ(shadow.vertexCount, 2 * mesh->vertexCount);
        }
        EXPECT_GT(most, mesh->triangleCount) << "no light found a silhouette";
    }
}

TEST_F(Casters, AFullShadowMeshStopsAppending) {
    SceneObject object;
    object.attach(&columnMesh);
    Mesh shadow(5, 2 * columnMesh.vertexCount);
    shadow.vertexCount = 2 * columnMesh.vertexCount;
    std::vector<std::uint8_t> lit(max_mesh_triangles);
    shadow_volume_build(object, Pose{}, {30, 5, 2}, shadow, lit);
    EXPECT_EQ(shadow.triangleCount, 5u);
}

TEST_F(Casters, LightIsTakenIntoTheObjectsFrame) {
    const Pose pose{3, -1, 7, 0.4, -1.1, 2.5};
    Vector3 local = light_in_object_space(pose, {10, 20, -5});
    // Back to the world the way the renderer places the object: roll, then
    // pitch, then yaw, then the position.
    auto turn = [](double a, double& p, double& q) {
        double c = std::cos(a), s = std::sin(a), p2 = p * c - q * s;
        q = p * s + q * c, p = p2;
    };
    double x = local.x, y = local.y, z = local.z;
    turn(pose.roll, x, y);   // about z
    turn(pose.pitch, y, z);  // about x
    turn(pose.yaw, z, x);    // about y
    EXPECT_NEAR(x + pose.x, 10, 1e-9);
    EXPECT_NEAR(y + pose.y, 20, 1e-9);
    EXPECT_NEAR(z + pose.z, -5, 1e-9);
}

// An open sheet of two triangles facing +z: all lit from the front gives the
// near cap alone, all unlit from behind the far cap alone; open edges get no
// sides either way.
TEST(ShadowVolume, OpenSheetGivesOnlyOneCap) {
    fake::reset();
    Mesh sheet(8, 8);
    sheet.addQuad(sheet.addVertex(0, 0, 0), sheet.addVertex(1, 0, 0), sheet.addVertex(1, 1, 0), sheet.addVertex(0, 1, 0));
    sheet.finalize("sheet");
    SceneObject object;
    object.attach(&sheet);
    DrawScratch scratch;
    Mesh& shadow = scratch.shadow_of(object);
    shadow_volume_build(object, Pose{}, {0.5, 0.5, 10}, shadow, scratch.lit);
    ASSERT_EQ(shadow.triangleCount, 2u);
    for (int t = 0; t < 2; ++t)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(shadow.triangles[t].index[c], sheet.triangles[t].index[c]);
    shadow_volume_build(object, Pose{}, {0.5, 0.5, -10}, shadow, scratch.lit);
    ASSERT_EQ(shadow.triangleCount, 2u);
    for (int t = 0; t < 2; ++t)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(shadow.triangles[t].index[c], sheet.triangles[t].index[c] + 4);
    // The far cap lies on the far side of the sheet, 32 times as far out.
    const Vector3& far = shadow.vertices[4];
    EXPECT_DOUBLE_EQ(far.z, 32 * sheet.vertices[0].z - 31 * -10.0);
}

// More triangles than a 16-bit facing table of old could hold: every flag
// has its place.
TEST(ShadowVolume, LargeMeshesBuildWithinTheirBuffers) {
    fake::reset();
    Mesh grid(20000, 12000);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 100; ++c)
            grid.addQuad(grid.addVertex(c, r, 0), grid.addVertex(c + 1, r, 0), grid.addVertex(c + 1, r + 1, 0),
                         grid.addVertex(c, r + 1, 0));
    grid.finalize("grid");
    ASSERT_EQ(grid.triangleCount, 20000u);
    SceneObject object;
    object.attach(&grid);
    DrawScratch scratch;
    Mesh& shadow = scratch.shadow_of(object);
    shadow_volume_build(object, Pose{}, {50, 50, -3}, shadow, scratch.lit);
    EXPECT_EQ(shadow.triangleCount, 20000u);
}

}  // namespace
