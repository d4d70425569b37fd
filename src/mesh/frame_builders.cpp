// Frames made of square bars: the cube frame and the tunnel segment. Every
// box shows only the faces that are not hidden against a neighbour, so the
// welded result is one closed surface.
#include "mesh/mesh.h"

namespace {

// Box coordinates are written in terms of the half-sizes A < B.
enum Coordinate { mB, mA, pA, pB, mF, pF, p2A, pAB, m2A, mAB };

struct BoxPlan {
    Coordinate lo[3], hi[3];
    int mask;
};

double value(Coordinate c, double a, double b) {
    const double f = (b - a) / 2;
    switch (c) {
        case mB: return -b;
        case mA: return -a;
        case pA: return a;
        case pB: return b;
        case mF: return -f;
        case pF: return f;
        case p2A: return 2 * a;
        case pAB: return a + b;
        case m2A: return -2 * a;
        case mAB: return -(a + b);
    }
    return 0;
}

template <int N>
void add_boxes(Mesh& mesh, const BoxPlan (&boxes)[N], double a, double b) {
    for (const BoxPlan& box : boxes) {
        Vector3 lo{value(box.lo[0], a, b), value(box.lo[1], a, b), value(box.lo[2], a, b)};
        Vector3 hi{value(box.hi[0], a, b), value(box.hi[1], a, b), value(box.hi[2], a, b)};
        mesh.addBox(lo, hi, box.mask);
    }
}

// Eight corner blocks, then the bars along x, y and z.
constexpr BoxPlan cube_frame[20] = {
    {{mB, mB, mB}, {mA, mA, mA}, 22}, {{pA, mB, mB}, {pB, mA, mA}, 26},
    {{mB, pA, mB}, {mA, pB, mA}, 38}, {{pA, pA, mB}, {pB, pB, mA}, 42},
    {{mB, mB, pA}, {mA, mA, pB}, 21}, {{pA, mB, pA}, {pB, mA, pB}, 25},
    {{mB, pA, pA}, {mA, pB, pB}, 37}, {{pA, pA, pA}, {pB, pB, pB}, 41},
    {{mA, mB, mB}, {pA, mA, mA}, 51}, {{mA, pA, mB}, {pA, pB, mA}, 51},
    {{mA, mB, pA}, {pA, mA, pB}, 51}, {{mA, pA, pA}, {pA, pB, pB}, 51},
    {{mB, mA, mB}, {mA, pA, mA}, 15}, {{pA, mA, mB}, {pB, pA, mA}, 15},
    {{mB, mA, pA}, {mA, pA, pB}, 15}, {{pA, mA, pA}, {pB, pA, pB}, 15},
    {{mB, mB, mA}, {mA, mA, pA}, 60}, {{pA, mB, mA}, {pB, mA, pA}, 60},
    {{mB, pA, mA}, {mA, pB, pA}, 60}, {{pA, pA, mA}, {pB, pB, pA}, 60},
};

// A ring open at the bottom, a rail forward to half a front ring, and a rail
// backward to half a back ring; segments placed 3A + B apart complete each
// other's rings.
constexpr BoxPlan tunnel_segment[15] = {
    {{mB, pA, mF}, {mA, pB, pF}, 39},    {{pA, pA, mF}, {pB, pB, pF}, 43},
    {{mB, mB, mF}, {mA, mA, pF}, 30},    {{pA, mB, mF}, {pB, mA, pF}, 29},
    {{mA, pA, mF}, {pA, pB, pF}, 51},    {{mB, mA, mF}, {mA, pA, pF}, 15},
    {{pA, mA, mF}, {pB, pA, pF}, 15},    {{mB, mB, pF}, {mA, mA, p2A}, 60},
    {{mB, mA, p2A}, {mA, pA, pAB}, 15},  {{mB, mB, p2A}, {mA, mA, pAB}, 29},
    {{mA, pA, p2A}, {pB, pB, pAB}, 59},  {{mB, pA, p2A}, {mA, pB, pAB}, 39},
    {{pA, mB, m2A}, {pB, mA, mF}, 60},   {{pA, mA, mAB}, {pB, pA, m2A}, 47},
    {{pA, mB, mAB}, {pB, mA, m2A}, 30},
};

}  // namespace

void Mesh::buildCubeFrame(const char* name, double inner, double outer) {
    clear();
    add_boxes(*this, cube_frame, inner, outer);
    finalize(name);
}

int Mesh::buildTunnelSegment(const char* name, double inner, double outer) {
    clear();
    add_boxes(*this, tunnel_segment, inner, outer);
    finalize(name);
    return manifoldTest();
}
