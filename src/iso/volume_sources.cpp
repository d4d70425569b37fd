#include "iso/volume_sources.h"

#include <algorithm>
#include <cmath>

#include "log/log.h"

namespace {

void polygonize_into(CellPolygonizer& polygonizer, const BitVolume& volume) {
    polygonizer.mesh->clear();
    polygonizer.polygonize(volume);
}

// The finalize report line, written before any normal exists.
void report_then_normals(Mesh& mesh, const char* name) {
    log_print("<finalize `%s` %itris %iverts>\n", name, static_cast<int>(mesh.triangleCount),
              static_cast<int>(mesh.vertexCount));
    mesh.computeVertexNormals();
}

bool sphere_inside(int x, int y, int z) {
    const double dx = x - 15.5, dy = y - 15.5, dz = z - 15.5;
    return dx * dx + dy * dy + dz * dz + 14 * std::sin(13.7 * z) * std::sin(37.9 * y) +
               14 * std::sin(23.9 * x) * std::sin(11.7 * y) + 14 * std::sin(19.7 * x) * std::sin(11.9 * z) <
           49;
}

bool pole_inside(int x, int y, int z) {
    const double dx = x - 15.5, dz = z - 15.5;
    const double theta = std::atan2(dx, dz);
    const double r2 = dx * dx + dz * dz;
    const double f = 1.5 * std::sin(0.3448275862068966 * y + 3 * theta) +
                     std::sin(0.5263157894736842 * y + 5 * theta) + 0.3333333333333333 * y;
    return f * f > r2;
}

// The walker's direction for step i: 0/1 x-/x+, 2/3 y-/y+, 4/5 z-/z+, 6/7 stay.
int basket_direction(int i) {
    const double v = std::sin(13.7 * i + 17.9) * std::sin(17.3 * i + 23.11) * 19 + 128;
    return static_cast<int>(v) % 8;
}

}  // namespace

void fill_sphere_volume(BitVolume& volume) {
    volume.clear();
    for (int z = 0; z < volume_size; ++z)
        for (int y = 0; y < volume_size; ++y)
            for (int x = 0; x < volume_size; ++x)
                if (sphere_inside(x, y, z)) volume.set(x, y, z);
}

void fill_basket_volume(BitVolume& volume) {
    volume.clear();
    int p[3] = {16, 16, 16};
    for (int i = 0; i < 1000; ++i) {
        const int d = basket_direction(i);
        if (d < 6) p[d / 2] += d % 2 ? 1 : -1;
        for (int& c : p) c = std::clamp(c, 0, 30);
        const int x = p[0], y = p[1], z = p[2];
        if (x >= 14 && x <= 16 && y >= 14 && y <= 16) continue;
        volume.set(x, y, z);
        volume.set(30 - x, y, 30 - z);
    }
}

void fill_pole_volume(BitVolume& volume) {
    volume.clear();
    for (int z = 1; z <= 30; ++z)
        for (int x = 1; x <= 30; ++x)
            for (int y = 1; y <= 30; ++y)
                if (pole_inside(x, y, z)) volume.set(x, y, z);
}

void iso_sphere(CellPolygonizer& polygonizer, const char* name) {
    BitVolume volume;
    fill_sphere_volume(volume);
    polygonize_into(polygonizer, volume);
    report_then_normals(*polygonizer.mesh, name);
}

void iso_basket(CellPolygonizer& polygonizer, const char* name) {
    BitVolume volume;
    fill_basket_volume(volume);
    polygonize_into(polygonizer, volume);
    report_then_normals(*polygonizer.mesh, name);
}

void iso_pole(CellPolygonizer& polygonizer, const char* name) {
    BitVolume volume;
    fill_pole_volume(volume);
    polygonize_into(polygonizer, volume);
}
