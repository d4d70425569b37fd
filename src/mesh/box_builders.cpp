// Boxes with selectable faces and the hexagonal prism.
#include "mesh/mesh.h"

namespace {

// Corner names of a box, in the order the corners are inserted.
enum { A, B, C, D, E, F, G, H };

// Quads per face bit: bits 0-5 face outward, bits 8-13 are the same faces
// wound inward.
constexpr int outward_faces[6][4] = {
    {A, E, F, B}, {H, D, C, G}, {A, B, C, D}, {H, G, F, E}, {A, D, H, E}, {C, B, F, G},
};
constexpr int inward_faces[6][4] = {
    {E, A, B, F}, {D, H, G, C}, {D, C, B, A}, {E, F, G, H}, {E, H, D, A}, {G, F, B, C},
};

void add_faces(Mesh& mesh, const std::uint32_t* corner, int bits, const int (*faces)[4]) {
    for (int face = 0; face < 6; ++face) {
        if (!(bits >> face & 1)) continue;
        const int* q = faces[face];
        mesh.addQuad(corner[q[0]], corner[q[1]], corner[q[2]], corner[q[3]]);
    }
}

std::uint32_t vertex(Mesh& mesh, const Vector3& p) { return mesh.addVertex(p.x, p.y, p.z); }

}  // namespace

void Mesh::addBox(const Vector3& lo, const Vector3& hi, int mask) {
    const double x0 = lo.x, y0 = lo.y, z0 = lo.z, x1 = hi.x, y1 = hi.y, z1 = hi.z;
    const Vector3 points[8] = {
        {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}, {x0, y0, z0},
        {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}, {x1, y0, z0},
    };
    std::uint32_t corner[8];
    for (int i = 0; i < 8; ++i) corner[i] = vertex(*this, points[i]);
    add_faces(*this, corner, mask & 63, outward_faces);
    add_faces(*this, corner, mask >> 8 & 63, inward_faces);
}

void Mesh::addHexagonCap(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t e,
                         std::uint32_t f) {
    addTriangle(a, b, d, 0.5f, 0, 1, 0, 0.5f, 1);
    addTriangle(c, d, b, 1, 1, 0.5f, 1, 1, 0);
    addTriangle(f, a, e, 0, 0, 0.5f, 0, 0, 1);
    addTriangle(d, e, a, 0.5f, 1, 0, 1, 0.5f, 0);
}

void Mesh::buildHexaPrism() {
    clear();
    // Hexagon corners in the x-z plane, around from +z.
    const double hx[6] = {0, -1, -1, 0, 1, 1};
    const double hz[6] = {1.154, 0.577, -0.577, -1.154, -0.577, 0.577};
    std::uint32_t bottom[6];
    for (int i = 0; i < 6; ++i) bottom[i] = addVertex(hx[i], -1, hz[i]);
    addHexagonCap(bottom[0], bottom[1], bottom[2], bottom[3], bottom[4], bottom[5]);

    std::uint32_t a = addVertex(-1, 1, -0.577), b = addVertex(-1, 1, 0.577);
    std::uint32_t c = addVertex(1, 1, 0.577), d = addVertex(1, 1, -0.577);
    addQuad(a, b, c, d);
    a = addVertex(0, 1, 1.154), b = addVertex(1, 1, 0.577), c = addVertex(-1, 1, 0.577);
    addTriangle(a, b, c, 0, 0, 1, 0, 0, 1);
    a = addVertex(0, 1, -1.154), b = addVertex(-1, 1, -0.577), c = addVertex(1, 1, -0.577);
    addTriangle(a, b, c, 0, 0, 1, 0, 0, 1);

    // Side walls between hexagon corners i and i - 1, seen from outside:
    // top-left, top-right, bottom-right, bottom-left.
    const int sides[6][2] = {{3, 4}, {4, 5}, {5, 0}, {0, 1}, {1, 2}, {2, 3}};
    for (const auto& side : sides) {
        int l = side[0], r = side[1];
        std::uint32_t tl = addVertex(hx[l], 1, hz[l]), tr = addVertex(hx[r], 1, hz[r]);
        std::uint32_t br = addVertex(hx[r], -1, hz[r]), bl = addVertex(hx[l], -1, hz[l]);
        addQuad(tl, tr, br, bl);
    }
    finalize("hexa");
}
