// What the draw operations send to OpenGL, read back through Mesa's
// feedback mode: window positions, lit colours (which show the normals) and
// texture coordinates after generation.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "config/settings.h"
#include "data/file_table.h"
#include "gl/glext.h"
#include "mesh/mesh.h"
#include "mesh/mesh_draw.h"
#include "temp_dir.h"
#include "window/window.h"

namespace {

// OpenGL's sphere-map coordinates for an eye-space position and normal.
void sphere_map(double px, double py, double pz, double nx, double ny, double nz, double* s, double* t) {
    double len = std::sqrt(px * px + py * py + pz * pz);
    double ux = px / len, uy = py / len, uz = pz / len;
    double d = nx * ux + ny * uy + nz * uz;
    double rx = ux - 2 * nx * d, ry = uy - 2 * ny * d, rz = uz - 2 * nz * d;
    double m = 2 * std::sqrt(rx * rx + ry * ry + (rz + 1) * (rz + 1));
    *s = rx / m + 0.5;
    *t = ry / m + 0.5;
}

struct Corner {
    float x, y, r, s, t;
};
using Polygons = std::vector<std::vector<Corner>>;

class MeshDraw : public ::testing::Test {
protected:
    void SetUp() override {
        fake::link_pool(HEDEN_POOL_DIR);
        blob_open();
        settings_defaults();
        settings.glext = 0;  // no render targets needed here
        ASSERT_EQ(window_setup(1), 0) << "needs an X display with GLX";
        // White light straight down the view axis: a corner's red is the z
        // of the normal it was sent with.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-10, 10, -10, 10, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const float direction[4] = {0, 0, 1, 0}, white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glTranslatef(0, 0, -5);  // away from the eye, for sphere mapping
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
        // Texture coordinates are only generated for a unit with a complete
        // texture enabled.
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        const unsigned char texel[4] = {255, 255, 255, 255};
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glEnable(GL_TEXTURE_2D);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override {
        window_destroy();
        blob_close();
    }
    fake::TempDir dir;

    // One triangle at z = 0 whose vertex normals lean away from its face
    // normal, with texture coordinates.
    void one_triangle(Mesh& mesh) {
        std::uint32_t a = mesh.addVertex(0, 0, 0), b = mesh.addVertex(4, 0, 0), c = mesh.addVertex(0, 4, 0);
        mesh.addTriangle(a, b, c, 0.25f, 0.5f, 0.75f, 0.5f, 0.25f, 1.0f);
        mesh.finalize("test");
        mesh.normals[a] = {0.6, 0, 0.8};
        mesh.normals[b] = {0, 0.8, 0.6};
        mesh.normals[c] = {1, 0, 0};
    }

    Polygons feedback(Mesh& mesh, ::MeshDraw operation) {
        std::vector<GLfloat> buffer(4096);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        operation(mesh);
        int used = glRenderMode(GL_RENDER);
        Polygons polygons;
        // Each corner: x, y, z, r, g, b, a, s, t, r, q.
        for (int i = 0; i < used;) {
            if (buffer[i] != GL_POLYGON_TOKEN) {
                ADD_FAILURE() << "unexpected token " << buffer[i];
                break;
            }
            int count = static_cast<int>(buffer[i + 1]);
            i += 2;
            polygons.emplace_back();
            for (int c = 0; c < count; ++c, i += 11)
                polygons.back().push_back({buffer[i], buffer[i + 1], buffer[i + 3], buffer[i + 7], buffer[i + 8]});
        }
        return polygons;
    }
};

TEST_F(MeshDraw, NewMeshDrawsTexturedWithTheFaceNormal) {
    Mesh mesh(4, 4);
    EXPECT_EQ(mesh.draw, drawTextured);
    one_triangle(mesh);
    Polygons p = feedback(mesh, mesh.draw);
    ASSERT_EQ(p.size(), 1u);
    ASSERT_EQ(p[0].size(), 3u);
    for (const Corner& c : p[0]) EXPECT_NEAR(c.r, 1.0, 0.01);  // face normal (0, 0, 1) at every corner
    EXPECT_FLOAT_EQ(p[0][0].s, 0.25f);
    EXPECT_FLOAT_EQ(p[0][1].s, 0.75f);
    EXPECT_FLOAT_EQ(p[0][2].t, 1.0f);
    EXPECT_LT(p[0][0].x, p[0][1].x);  // corners in index order
}

TEST_F(MeshDraw, SphereMapSmoothSendsVertexNormalsAndSwitchesGenerationOff) {
    Mesh mesh(4, 4);
    one_triangle(mesh);
    glEnable(GL_TEXTURE_GEN_S);
    Polygons p = feedback(mesh, drawSphereMapSmooth);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_NEAR(p[0][0].r, 0.8, 0.01);
    EXPECT_NEAR(p[0][1].r, 0.6, 0.01);
    EXPECT_NEAR(p[0][2].r, 0.0, 0.01);
    // Sphere-map coordinates from the vertex normals, not the stored ones.
    double s2, t2;
    sphere_map(0, 4, -5, 1, 0, 0, &s2, &t2);
    EXPECT_NEAR(p[0][2].s, s2, 0.001);
    EXPECT_NEAR(p[0][2].t, t2, 0.001);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
}

TEST_F(MeshDraw, SphereMapFlatUsesTheFaceNormal) {
    Mesh mesh(4, 4);
    one_triangle(mesh);
    Polygons p = feedback(mesh, drawSphereMapFlat);
    ASSERT_EQ(p.size(), 1u);
    const double positions[3][2] = {{0, 0}, {4, 0}, {0, 4}};
    for (int i = 0; i < 3; ++i) {
        double s_expected, t_expected;
        sphere_map(positions[i][0], positions[i][1], -5, 0, 0, 1, &s_expected, &t_expected);
        EXPECT_NEAR(p[0][i].r, 1.0, 0.01);
        EXPECT_NEAR(p[0][i].s, s_expected, 0.001);
        EXPECT_NEAR(p[0][i].t, t_expected, 0.001);
    }
}

TEST_F(MeshDraw, PlainSendsPositionsOnlyAndEmptyMeshesNothing) {
    Mesh mesh(4, 4);
    one_triangle(mesh);
    glDisable(GL_LIGHTING);
    glColor3f(0.25f, 0.25f, 0.25f);
    glTexCoord2f(0.125f, 0.375f);
    Polygons p = feedback(mesh, drawPlain);
    ASSERT_EQ(p.size(), 1u);
    for (const Corner& c : p[0]) {
        EXPECT_NEAR(c.r, 0.25, 0.01);
        EXPECT_FLOAT_EQ(c.s, 0.125f);
    }
    Mesh empty(4, 4);
    EXPECT_TRUE(feedback(empty, drawTextured).empty());
}

TEST_F(MeshDraw, RecordedListReplaysTheGeometryOfItsRecording) {
    Mesh mesh(4, 4);
    one_triangle(mesh);
    GLuint lists = glGenLists(16);
    mesh.draw = drawSphereMapSmooth;
    mesh.compileList(lists + 3);
    EXPECT_EQ(mesh.draw, drawList);
    EXPECT_EQ(mesh.displayList, lists + 3);
    float before = feedback(mesh, mesh.draw)[0][1].x;
    mesh.vertices[1].x = 8;  // a later change does not show until recorded again
    Polygons p = feedback(mesh, mesh.draw);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_FLOAT_EQ(p[0][1].x, before);
    EXPECT_NEAR(p[0][0].r, 0.8, 0.01);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

}  // namespace
