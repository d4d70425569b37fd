#include "environment.h"

#include <cmath>

#include "noise.h"

namespace {

constexpr float pi = 3.14159265358979f;

// Height above the horizon, −1 (nadir) to 1 (zenith).
float up(Direction d) { return -d.y; }

float dot(Direction a, Direction b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Direction normalised(float x, float y, float z) {
    float l = std::sqrt(x * x + y * y + z * z);
    return {x / l, y / l, z / l};
}

// Direction at an azimuth (0 = front, −z) and an elevation, both in radians.
Direction towards(float azimuth, float elevation) {
    return {std::sin(azimuth) * std::cos(elevation), -std::sin(elevation), -std::cos(azimuth) * std::cos(elevation)};
}

// Cloud layer coordinates: the direction projected onto a plane above the
// eye, so clouds shrink towards the horizon.
void cloud_plane(Direction d, float lift, float& u, float& v) {
    float h = up(d) + lift;
    u = d.x / h;
    v = d.z / h;
}

// Stars of one layer: cells of a 3D lattice around the unit sphere, at most
// one star each; radius in radians.
float star_layer(Direction d, float cells, float chance, float radius, std::uint32_t seed) {
    float px = d.x * cells - 0.5f, py = d.y * cells - 0.5f, pz = d.z * cells - 0.5f;
    auto bx = static_cast<int>(std::floor(px)), by = static_cast<int>(std::floor(py)), bz = static_cast<int>(std::floor(pz));
    float light = 0;
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) {
                int cx = bx + i, cy = by + j, cz = bz + k;
                if (hash_unit(cx, cy, cz, seed) > chance) continue;
                Direction star = normalised(cx + hash_unit(cx, cy, cz, seed + 1), cy + hash_unit(cx, cy, cz, seed + 2),
                                            cz + hash_unit(cx, cy, cz, seed + 3));
                float ex = d.x - star.x, ey = d.y - star.y, ez = d.z - star.z;
                float dist2 = (ex * ex + ey * ey + ez * ez) / (radius * radius);
                float brightness = 0.3f + 1.2f * hash_unit(cx, cy, cz, seed + 4) * hash_unit(cx, cy, cz, seed + 5);
                light += brightness * std::exp(-dist2);
            }
    return light;
}

}  // namespace

Colour sky_dusk_sea(Direction d) {
    const Direction sun = towards(0.55f, 0.09f);
    float h = up(d);
    float sun_cos = dot(d, sun);
    float glow = std::pow(std::max(0.0f, sun_cos), 12.0f);
    float halo = std::pow(std::max(0.0f, sun_cos), 3.0f);

    auto sky_at = [&](float height) {
        float e = std::max(0.0f, height);
        Colour zenith = rgb(0x0b1a4a), middle = rgb(0x5a4d8c), horizon = rgb(0xff8a3d);
        Colour c = e < 0.25f ? mix(horizon, middle, smoothstep(0.0f, 0.25f, e)) : mix(middle, zenith, smoothstep(0.25f, 0.9f, e));
        return c + rgb(0xffb060) * (0.9f * halo) + rgb(0xfff0c0) * (2.0f * glow);
    };

    if (h >= 0) {
        Colour c = sky_at(h);
        float u, v;
        cloud_plane(d, 0.12f, u, v);
        float density = fbm(u * 0.9f, v * 2.2f, 0.5f, 6, 11u);
        float cover = smoothstep(0.48f, 0.72f, density) * smoothstep(0.0f, 0.06f, h);
        float rim = std::pow(std::max(0.0f, sun_cos), 4.0f);
        Colour cloud = mix(rgb(0x3a2a55), rgb(0xff6a4a), 0.35f + 0.65f * rim) * (0.6f + 0.9f * density);
        c = mix(c, cloud, cover * 0.9f);
        if (sun_cos > 0.9994f) c = rgb(0xfff6e0) * 3.0f;  // the sun's disc
        return c;
    }
    // The sea: the sky mirrored, darker towards the nadir, with a glitter
    // path under the sun.
    float depth = -h;
    Direction mirror{d.x, -d.y, d.z};
    float fresnel = 0.06f + 0.94f * std::pow(1.0f - std::min(1.0f, depth * 4.0f), 5.0f);
    Colour water = mix(rgb(0x0a2234), rgb(0x02070e), smoothstep(0.0f, 0.6f, depth));
    Colour c = mix(water, sky_at(up(mirror)), fresnel);
    float waves = fbm(d.x / (depth + 0.02f) * 3.0f, d.z / (depth + 0.02f) * 12.0f, 2.0f, 4, 23u);
    float path = std::pow(std::max(0.0f, dot(mirror, sun)), 30.0f);
    c = c + rgb(0xffc080) * (path * smoothstep(0.55f, 0.8f, waves) * 3.0f);
    return c;
}

Colour sky_desert_storm(Direction d) {
    float h = up(d);
    const Direction planet = towards(-0.7f, 0.42f);
    const Direction sun = towards(2.4f, 0.18f);
    float sun_cos = dot(d, sun);

    if (h < 0) {  // dust plain: dunes fading into haze
        float depth = -h;
        float u = d.x / (depth + 0.03f), v = d.z / (depth + 0.03f);
        float dunes = fbm(u * 1.5f + fbm(u, v, 0.0f, 3, 41u) * 2.0f, v * 0.4f, 1.0f, 5, 43u);
        Colour ground = mix(rgb(0x3a1608), rgb(0x9a4a1c), dunes);
        Colour haze = rgb(0xc86a34);
        return mix(haze, ground, smoothstep(0.0f, 0.35f, depth)) * (0.6f + 0.5f * std::max(0.0f, sun_cos));
    }
    Colour zenith = rgb(0x2a0c24), horizon = rgb(0xe0703a);
    Colour c = mix(horizon, zenith, std::pow(smoothstep(0.0f, 0.8f, h), 0.7f));
    c = c + rgb(0xffa050) * (std::pow(std::max(0.0f, sun_cos), 6.0f) * 0.8f);
    // Wind-torn streaks.
    float u, v;
    cloud_plane(d, 0.15f, u, v);
    float warp = fbm(u * 0.5f, v * 0.5f, 3.0f, 3, 47u);
    float streak = fbm(u * 0.35f + warp * 1.5f, v * 3.5f, 7.0f, 6, 53u);
    float cover = smoothstep(0.5f, 0.75f, streak) * smoothstep(0.0f, 0.1f, h);
    c = mix(c, mix(rgb(0x5a1a20), rgb(0xff9a60), std::max(0.0f, sun_cos) * 0.8f + 0.2f), cover * 0.8f);

    // The ringed planet: a lit sphere with a band pattern, and its ring.
    float pc = dot(d, planet);
    float radius = 0.16f;
    float angle = std::acos(std::min(1.0f, pc));
    // Ring: a flat ellipse around the planet's centre.
    Direction axis_u = normalised(std::cos(-0.7f), 0.3f, std::sin(-0.7f));
    Direction axis_v = normalised(-planet.y * axis_u.z + planet.z * axis_u.y, planet.x * axis_u.z - planet.z * axis_u.x,
                                  planet.y * axis_u.x - planet.x * axis_u.y);
    float ru = dot(d, axis_u) / radius, rv = dot(d, axis_v) / (radius * 0.28f);
    float ring_r = std::sqrt(ru * ru + rv * rv);
    bool behind_planet = angle < radius && rv > 0;
    float ring = (ring_r > 1.35f && ring_r < 2.1f && pc > 0) ? 0.5f + 0.5f * std::sin(ring_r * 40.0f) : 0.0f;
    if (angle < radius) {
        float r = angle / radius;
        float light = clamp01(0.25f + 0.9f * (dot(d, sun) + 0.6f) * std::sqrt(1 - r * r));
        float bands = fbm(dot(d, axis_v) * 60.0f, 0.0f, 0.0f, 3, 59u);
        c = mix(rgb(0x7a3a30), rgb(0xe8b080), bands) * light;
        c = c + rgb(0xff8040) * (0.6f * std::pow(r, 8.0f));  // atmosphere at the limb
    }
    if (ring > 0 && !behind_planet) c = mix(c, rgb(0xf0c8a0) * 1.1f, ring * 0.65f);
    return c;
}

Colour sky_nebula(Direction d) {
    float warp = fbm(d.x * 2.0f, d.y * 2.0f, d.z * 2.0f, 3, 61u);
    float n1 = fbm(d.x * 2.5f + warp * 1.8f, d.y * 2.5f, d.z * 2.5f - warp, 6, 67u);
    float n2 = fbm(d.x * 4.0f - warp, d.y * 4.0f + warp, d.z * 4.0f, 5, 71u);
    // A band of dust and gas across the sky, brighter along its middle.
    float band = std::exp(-std::pow((d.x * 0.5f + d.y * 0.8f + d.z * 0.3f) * 2.2f, 2.0f));
    float gas = smoothstep(0.42f, 0.8f, n1) * (0.35f + 0.9f * band);
    float dust = smoothstep(0.5f, 0.7f, n2);
    Colour c = rgb(0x02030a) + rgb(0x0a0c28) * (0.5f + band);
    c = c + mix(rgb(0x5a1a8a), rgb(0x10a0b0), smoothstep(0.35f, 0.75f, n2)) * (gas * 0.9f);
    c = c + rgb(0xff5a9a) * (std::pow(gas, 3.0f) * 0.8f);
    c = c * (1.0f - dust * 0.6f * band);
    float stars = star_layer(d, 70.0f, 0.06f, 0.0028f, 73u) * 0.8f + star_layer(d, 22.0f, 0.10f, 0.0045f, 79u) * 1.6f;
    c = c + mix(rgb(0xa0c0ff), rgb(0xfff0d0), hash_unit(static_cast<int>(d.x * 900), static_cast<int>(d.y * 900), 0, 83u)) *
                (stars * (1.0f - dust * 0.7f));
    // One bright star with a soft halo.
    const Direction beacon = normalised(0.5f, -0.35f, -0.8f);
    float bc = std::max(0.0f, dot(d, beacon));
    c = c + rgb(0xc0e0ff) * (std::pow(bc, 4000.0f) * 3.0f + std::pow(bc, 200.0f) * 0.4f);
    return c;
}

Colour studio_chrome(Direction d) {
    float h = up(d);
    Colour floor = mix(rgb(0x1a1c22), rgb(0x050608), smoothstep(0.0f, 0.7f, -h));
    Colour wall = mix(rgb(0x6a7a90), rgb(0x1c2a48), smoothstep(0.0f, 0.9f, h));
    Colour c = h < 0 ? floor : wall;
    c = c + rgb(0xffe0c0) * (0.45f * std::exp(-h * h * 1500.0f));  // the horizon line
    // Soft boxes: two long strips overhead and a round key light.
    float azimuth = std::atan2(d.x, -d.z);
    float elevation = std::asin(std::max(-1.0f, std::min(1.0f, h)));
    auto soft_box = [](float a, float lo, float hi, float e, float elo, float ehi) {
        return smoothstep(lo - 0.04f, lo, a) * (1 - smoothstep(hi, hi + 0.04f, a)) * smoothstep(elo - 0.04f, elo, e) *
               (1 - smoothstep(ehi, ehi + 0.04f, e));
    };
    c = c + rgb(0xf0f6ff) * (2.2f * soft_box(azimuth, -1.2f, -0.9f, elevation, 0.25f, 1.2f));
    c = c + rgb(0xfff0e0) * (1.6f * soft_box(azimuth, 1.3f, 1.5f, elevation, 0.15f, 1.0f));
    const Direction key = towards(0.3f, 0.5f);
    c = c + rgb(0xffffff) * (2.5f * smoothstep(0.985f, 0.992f, dot(d, key)));
    c = c + rgb(0x4080ff) * (0.35f * std::pow(std::max(0.0f, dot(d, towards(pi, 0.2f))), 4.0f));  // cool rim
    return c;
}

Colour studio_sandstone(Direction d) {
    float h = up(d);
    float strata = std::sin(h * 26.0f + 3.0f * fbm(d.x * 3.0f, d.y * 3.0f, d.z * 3.0f, 4, 89u));
    float grain = fbm(d.x * 14.0f, d.y * 14.0f, d.z * 14.0f, 4, 97u);
    Colour stone = mix(rgb(0x7a3418), rgb(0xd88a4a), 0.5f + 0.5f * strata) * (0.75f + 0.5f * grain);
    Colour sky = mix(rgb(0xffb070), rgb(0x5a6aa0), smoothstep(0.0f, 0.8f, h));
    float sky_part = smoothstep(-0.05f, 0.25f, h);
    Colour c = mix(stone * 0.8f, sky, sky_part * 0.55f);
    c = c + rgb(0xffd0a0) * (1.3f * std::pow(std::max(0.0f, dot(d, towards(0.8f, 0.35f))), 24.0f));
    return c;
}
