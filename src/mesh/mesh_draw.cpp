#include "mesh/mesh_draw.h"

#include "gl/glext.h"

namespace {

void vertex(const Vector3& p) {
    glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
}

void normal(const Vector3& n) {
    glNormal3f(static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z));
}

template <typename PerTriangle>
void triangles(const Mesh& mesh, PerTriangle per_triangle) {
    glBegin(GL_TRIANGLES);
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i) per_triangle(mesh.triangles[i], i);
    glEnd();
}

// Sphere mapping is switched on around the geometry only, so a recorded
// list switches it on and off by itself.
template <typename PerTriangle>
void sphere_mapped(const Mesh& mesh, PerTriangle per_triangle) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    triangles(mesh, per_triangle);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

}  // namespace

void drawTextured(const Mesh& mesh) {
    triangles(mesh, [&](const Triangle& t, std::uint32_t i) {
        normal(mesh.faceNormals[i]);
        for (int c = 0; c < 3; ++c) {
            glTexCoord2f(t.s[c], t.t[c]);
            vertex(mesh.vertices[t.index[c]]);
        }
    });
}

void drawSphereMapSmooth(const Mesh& mesh) {
    sphere_mapped(mesh, [&](const Triangle& t, std::uint32_t) {
        for (int c = 0; c < 3; ++c) {
            normal(mesh.normals[t.index[c]]);
            vertex(mesh.vertices[t.index[c]]);
        }
    });
}

void drawSphereMapFlat(const Mesh& mesh) {
    sphere_mapped(mesh, [&](const Triangle& t, std::uint32_t i) {
        normal(mesh.faceNormals[i]);
        for (int c = 0; c < 3; ++c) vertex(mesh.vertices[t.index[c]]);
    });
}

void drawPlain(const Mesh& mesh) {
    triangles(mesh, [&](const Triangle& t, std::uint32_t) {
        for (int c = 0; c < 3; ++c) vertex(mesh.vertices[t.index[c]]);
    });
}

void drawList(const Mesh& mesh) { glCallList(mesh.displayList); }

void Mesh::compileList(std::uint32_t list) {
    displayList = list;
    glNewList(list, GL_COMPILE);
    draw(*this);
    glEndList();
    draw = drawList;
}
