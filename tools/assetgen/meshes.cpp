#include "meshes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dolphin.h"
#include "file_out.h"
#include "lettering.h"
#include "noise.h"
#include "surface_nets.h"

namespace {

// The scenes view the world rolled half a turn: "up" on screen is −y, so the
// letters' tops and the canyon's ridges lie towards −y.

constexpr double title_scale = 10.0 / title_half_width;  // the word is 20 units wide
constexpr double title_depth = 0.75;                     // half the letters' thickness
constexpr double title_rounding = 0.28;

// Solid letters: the 2D outline extruded along z with rounded edges.
double title_field(double x, double y, double z) {
    double outline = title_distance(static_cast<float>(x / title_scale), static_cast<float>(0.5 - y / title_scale)) * title_scale;
    double a = outline + title_rounding, b = std::fabs(z) - (title_depth - title_rounding);
    double outside = std::hypot(std::max(a, 0.0), std::max(b, 0.0));
    return outside + std::min(std::max(a, b), 0.0) - title_rounding;
}

// Centre line of the gorge: it winds along z.
double gorge_centre(double z) { return 4.0 * std::sin(0.22 * z) + 1.5 * std::sin(0.57 * z + 1.0); }

// Height of the rock's top above y = 0 (towards −y): ridged, terraced
// plateaus, cut down to a river bed along the gorge.
double canyon_top(double x, double z) {
    auto fx = static_cast<float>(x), fz = static_cast<float>(z);
    double ridges = 1.0 - std::fabs(2.0 * fbm(fx * 0.09f, fz * 0.09f, 0.5f, 4, 301u) - 1.0);
    double plateau = 2.6 + 3.2 * ridges * ridges;
    double terraced = std::floor(plateau * 1.4) / 1.4;
    plateau = terraced + 0.35 * (plateau - terraced);
    double across = std::fabs(x - gorge_centre(z));
    double cut = std::clamp((3.4 - across) / 2.0, 0.0, 1.0);
    double bed = 0.3 + 0.4 * fbm(fx * 0.3f, fz * 0.3f, 2.0f, 2, 307u);
    return plateau + (bed - plateau) * cut * cut * (3 - 2 * cut);
}

// A ridged slab with a rough underside that hangs lower towards the middle.
double canyon_field(double x, double y, double z) {
    double height = -y;
    auto fx = static_cast<float>(x), fz = static_cast<float>(z);
    double rim = 13.8 + 1.2 * fbm(fx * 0.15f, 0.0f, fz * 0.15f, 3, 311u);
    double side = std::max(std::fabs(x), std::fabs(z)) - rim;
    double r = std::hypot(x, z) / 15.0;
    double underside = -(1.6 + 3.0 * std::max(0.0, 1.0 - r * r) * (0.6 + 0.6 * fbm(fx * 0.2f, 4.0f, fz * 0.2f, 3, 313u)));
    return std::max({height - canyon_top(x, z), underside - height, side});
}

bool write_mesh(const std::string& path, const TriangleMesh& mesh) {
    return write_bytes(path, stored_mesh_bytes(mesh));
}

}  // namespace

void add_mesh_tasks(const std::string& pool, std::vector<Task>& tasks) {
    tasks.push_back([pool] {
        const Grid canyon_grid{44, 19, 44, -16.34, -7.6, -16.34, 0.76};
        return write_mesh(pool + "/iso/canyon.bin", surface_nets(canyon_grid, canyon_field));
    });
    tasks.push_back([pool] {
        const Grid title_grid{75, 22, 10, -11.1, -3.15, -1.35, 0.30};
        return write_mesh(pool + "/iso/tekst.bin", surface_nets(title_grid, title_field));
    });
    tasks.push_back([pool] { return write_bytes(pool + "/dolphin.lwo", dolphin_lwo()); });
}
