#include "demo/shadow_volume.h"

#include <cmath>
#include <vector>

namespace {

void mark_lit_triangles(const Mesh& mesh, const Vector3& l, std::vector<std::uint8_t>& lit) {
    for (std::uint32_t t = 0; t < mesh.triangleCount; ++t) {
        const Vector3& n = mesh.faceNormals[t];
        lit[t] = mesh.planeDistances[t] < n.x * l.x + n.y * l.y + n.z * l.z;
    }
}

void extrude(const Mesh& mesh, Mesh& shadow, const Vector3& l) {
    std::uint32_t n = mesh.vertexCount;
    for (std::uint32_t j = 0; j < n; ++j) {
        const Vector3& v = mesh.vertices[j];
        shadow.vertices[n + j] = {32 * v.x - 31 * l.x, 32 * v.y - 31 * l.y, 32 * v.z - 31 * l.z};
    }
}

void append(Mesh& shadow, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    if (shadow.triangleCount >= shadow.triangleCapacity) return;
    std::uint16_t* index = shadow.triangles[shadow.triangleCount++].index;
    index[0] = static_cast<std::uint16_t>(a);
    index[1] = static_cast<std::uint16_t>(b);
    index[2] = static_cast<std::uint16_t>(c);
}

void caps(const Mesh& mesh, Mesh& shadow, const std::vector<std::uint8_t>& lit) {
    std::uint32_t n = mesh.vertexCount;
    for (std::uint32_t t = 0; t < mesh.triangleCount; ++t) {
        const std::uint16_t* i = mesh.triangles[t].index;
        std::uint32_t o = lit[t] ? 0 : n;
        append(shadow, i[0] + o, i[1] + o, i[2] + o);
    }
}

void sides(const Mesh& mesh, Mesh& shadow, const std::vector<std::uint8_t>& lit) {
    std::uint32_t n = mesh.vertexCount;
    for (std::uint32_t e = 0; e < mesh.edgeCount; ++e) {
        const Edge& edge = mesh.edges[e];
        // An edge of an open mesh has no far side to close.
        if (edge.secondTriangle == no_second_triangle) continue;
        bool a = lit[edge.firstTriangle], b = lit[edge.secondTriangle];
        if (a == b) continue;
        std::uint32_t from = edge.from, to = edge.to;
        if (!a) {
            append(shadow, from, to, from + n);
            append(shadow, to + n, from + n, to);
        } else {
            append(shadow, to, from, to + n);
            append(shadow, from + n, to + n, from);
        }
    }
}

}  // namespace

Vector3 light_in_object_space(const Pose& pose, const Vector3& light) {
    double px = light.x - pose.x, py = light.y - pose.y, pz = light.z - pose.z;
    double yaw = -pose.yaw, pitch = -pose.pitch, roll = -pose.roll;
    double x1 = px * std::cos(yaw) + pz * std::sin(yaw);
    double z1 = pz * std::cos(yaw) - px * std::sin(yaw);
    double y2 = py * std::cos(pitch) - z1 * std::sin(pitch);
    double z2 = py * std::sin(pitch) + z1 * std::cos(pitch);
    double x3 = x1 * std::cos(roll) - y2 * std::sin(roll);
    double y3 = x1 * std::sin(roll) + y2 * std::cos(roll);
    return {x3, y3, z2};
}

void shadow_volume_build(const SceneObject& object, const Pose& pose, const Vector3& light, Mesh& shadow,
                         std::vector<std::uint8_t>& lit) {
    const Mesh& mesh = *object.mesh;
    shadow.triangleCount = 0;
    // The extruded copies must be addressable by 16-bit corners.
    if (2 * mesh.vertexCount > shadow.vertexCapacity) return;
    Vector3 l = light_in_object_space(pose, light);
    mark_lit_triangles(mesh, l, lit);
    extrude(mesh, shadow, l);
    caps(mesh, shadow, lit);
    sides(mesh, shadow, lit);
}
