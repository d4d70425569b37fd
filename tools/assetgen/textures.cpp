#include "textures.h"

#include <cmath>
#include <cstdio>

#include "demo/sky_box.h"
#include "environment.h"
#include "file_out.h"
#include "lettering.h"
#include "noise.h"

namespace {

constexpr int sky_face_size = 512;

Direction normalised(float x, float y, float z) {
    float l = std::sqrt(x * x + y * y + z * z);
    return {x / l, y / l, z / l};
}

// One sky face: texel (i, j) shows the direction of the point of the face
// quad that carries texture coordinate (i / (n − 1), j / (n − 1)), so the
// edge texels of two neighbouring faces show the same directions.
Pixels sky_face(Environment sky, int face) {
    const auto& c = sky_box::corners[face];
    Pixels out(sky_face_size, sky_face_size);
    for (int j = 0; j < sky_face_size; ++j)
        for (int i = 0; i < sky_face_size; ++i) {
            float s = static_cast<float>(i) / (sky_face_size - 1), t = static_cast<float>(j) / (sky_face_size - 1);
            float p[3];
            for (int k = 0; k < 3; ++k) p[k] = c[0][k] + s * (c[1][k] - c[0][k]) + t * (c[3][k] - c[0][k]);
            out.set(i, j, tone(sky(normalised(p[0], p[1], p[2]))));
        }
    return out;
}

// A sphere map of an environment as the fixed-function sphere mapping reads
// it: texture coordinate t grows with the eye-space reflection's y, and the
// first row is t = 0. Beyond the disc the rim direction (straight behind)
// continues, so filtering at the edge stays clean.
Pixels sphere_map(Environment environment, int size) {
    Pixels out(size, size);
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            float x = (i + 0.5f) / size * 2 - 1, y = (j + 0.5f) / size * 2 - 1;
            float r2 = x * x + y * y;
            if (r2 > 0.999f) {
                float k = std::sqrt(0.999f / r2);
                x *= k;
                y *= k;
                r2 = 0.999f;
            }
            float nz = std::sqrt(1 - r2);
            // Reflection of the view vector (0, 0, 1) about the normal (x, y, nz);
            // the environment's zenith is −y, eye-space up is +y.
            Direction r = normalised(2 * nz * x, -(2 * nz * y), 2 * nz * nz - 1);
            out.set(i, j, tone(environment(r)));
        }
    return out;
}

const std::uint8_t key_green[3] = {0, 255, 0};

void set_key(Pixels& p, int x, int y) {
    std::uint8_t* px = p.at(x, y);
    px[0] = key_green[0];
    px[1] = key_green[1];
    px[2] = key_green[2];
    px[3] = 255;
}

// Keeps an opaque colour from being taken for the key.
void set_opaque(Pixels& p, int x, int y, Colour c) {
    p.set(x, y, c);
    std::uint8_t* px = p.at(x, y);
    if (px[0] == 0 && px[1] == 255 && px[2] == 0) px[1] = 254;
}

// The billboard spark: a bright core with four rays, on the green key.
Pixels particle() {
    const int n = 64;
    Pixels out(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = (x + 0.5f) / n * 2 - 1, v = (y + 0.5f) / n * 2 - 1;
            float r = std::sqrt(u * u + v * v);
            float ray = std::min(std::fabs(u), std::fabs(v)) / (1.0f - std::min(0.95f, r));
            bool inside = r < 0.42f || (ray < 0.06f && r < 0.97f);
            if (!inside) {
                set_key(out, x, y);
                continue;
            }
            float heat = 1 - smoothstep(0.0f, 0.9f, r);
            set_opaque(out, x, y, mix(rgb(0x3a7aff), rgb(0xffffff), heat) * (0.6f + 0.6f * heat));
        }
    return out;
}

// Distance from (x, y) to a chevron pointing right with its tip at (tx, ty).
float chevron(float x, float y, float tx, float ty, float size) {
    float dx = tx - x, dy = std::fabs(y - ty);
    return std::fabs(dx - dy) * 0.7071f + (dy > size ? (dy - size) : 0.0f) + (dx < 0 ? -dx : 0.0f);
}

// The beat flash, added to the picture at 1024 × 512: frame brackets, the
// title in outline and chevrons, on the green key that adds nothing.
Pixels beat_flash() {
    const int w = 1024, h = 512;
    Pixels out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float light = 0;
            // Corner brackets 24 px in from the edges.
            float bx = std::min(static_cast<float>(x - 24), static_cast<float>(w - 25 - x));
            float by = std::min(static_cast<float>(y - 24), static_cast<float>(h - 25 - y));
            bool near_corner_x = bx < 90, near_corner_y = by < 90;
            if (bx >= 0 && by >= 0 && ((bx < 4 && near_corner_y) || (by < 4 && near_corner_x))) light = 0.9f;
            // The title outline, 560 px wide, centred.
            float scale = 560.0f / (2 * title_half_width);
            float d = title_distance((x - w * 0.5f) / scale, (h * 0.5f - y) / scale + 0.5f) * scale;
            if (std::fabs(d) < 2.5f) light = std::max(light, 1.0f);
            if (d < 0 && (y / 3) % 2 == 0) light = std::max(light, 0.35f);  // scan lines inside the letters
            // Chevrons left and right of the word.
            for (int k = 0; k < 3; ++k) {
                float tip = 150.0f + k * 34.0f;
                if (chevron(static_cast<float>(x), static_cast<float>(y), tip, h * 0.5f, 40) < 3.0f) light = std::max(light, 0.8f - k * 0.2f);
                if (chevron(static_cast<float>(w - x), static_cast<float>(y), tip, h * 0.5f, 40) < 3.0f) light = std::max(light, 0.8f - k * 0.2f);
            }
            // Two thin rules above and below the word.
            if ((std::abs(y - 150) < 1 || std::abs(y - 362) < 1) && std::abs(x - w / 2) < 340) light = std::max(light, 0.6f);
            if (light <= 0) {
                set_key(out, x, y);
                continue;
            }
            float tint = static_cast<float>(x) / w;
            set_opaque(out, x, y, mix(rgb(0x60c0ff), rgb(0xffa0e0), tint) * (light * 0.55f));
        }
    return out;
}

// The loading picture, 512 × 256: the title in brushed metal over a dark
// vignette, with a soft glow.
Pixels loading_picture() {
    const int w = 512, h = 256;
    Pixels out(w, h);
    float scale = 380.0f / (2 * title_half_width);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = (x - w * 0.5f) / scale, v = (h * 0.5f - y) / scale + 0.5f;
            float d = title_distance(u, v) * scale;
            float vignette = 1 - 0.7f * std::pow(std::hypot((x - w * 0.5f) / w, (y - h * 0.5f) / h) * 1.6f, 2.0f);
            Colour c = mix(rgb(0x05070c), rgb(0x141a28), clamp01(vignette)) * (0.9f + 0.2f * hash_unit(x, y, 0, 7u));
            c = c + rgb(0x3060c0) * (0.5f * std::exp(-std::max(0.0f, d) / 14.0f));
            if (d < 0.5f) {
                float brushed = fbm(x * 0.02f, y * 0.9f, 0.0f, 3, 5u);
                float bevel = clamp01(-d / 5.0f);
                Colour metal = mix(rgb(0xc8d4e8), rgb(0x6878a0), v) * (0.7f + 0.5f * brushed) * (0.6f + 0.5f * bevel);
                c = mix(c, metal, clamp01(0.5f - d));
            }
            if (std::abs(y - 196) < 1 && std::abs(x - w / 2) < 150) c = c + rgb(0x80a0ff) * (1 - std::abs(x - w / 2) / 150.0f);
            out.set(x, y, c);
        }
    return out;
}

// One film-noise frame. The program makes each pixel's alpha (A + R) mod
// 256, so A is written as (wanted alpha − R) mod 256 to get the wanted
// opacity: grain at about a third, dust and scratches nearly solid.
Pixels noise_frame(std::uint32_t seed) {
    const int n = 256;
    std::vector<float> grey(n * n), alpha(n * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float g = hash_unit(x, y, 0, seed);
            float clump = value_noise(x * 0.35f, y * 0.35f, 0.0f, seed + 1);
            grey[y * n + x] = 0.35f + 0.35f * g + 0.2f * clump;
            alpha[y * n + x] = 0.25f + 0.2f * g;
        }
    Random random(seed * 7919u + 13u);
    auto stamp = [&](float cx, float cy, float radius, float value, float opacity) {
        for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
            for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x) {
                int wx = (x + n) % n, wy = (y + n) % n;
                float d = std::hypot(x - cx, y - cy) / radius;
                if (d >= 1) continue;
                float k = 1 - d * d;
                grey[wy * n + wx] = grey[wy * n + wx] * (1 - k) + value * k;
                alpha[wy * n + wx] = std::max(alpha[wy * n + wx], opacity * k);
            }
    };
    int dust = 12 + static_cast<int>(random.next() % 14);
    for (int i = 0; i < dust; ++i)
        stamp(random.range(0, n), random.range(0, n), random.range(0.8f, 3.2f), random.unit() < 0.7f ? 0.02f : 1.0f, 0.95f);
    int scratches = 1 + static_cast<int>(random.next() % 3);
    for (int i = 0; i < scratches; ++i) {
        float x = random.range(0, n), drift = random.range(-0.08f, 0.08f), value = random.unit() < 0.5f ? 1.0f : 0.05f;
        for (int y = 0; y < n; y += 1) stamp(x + drift * y + std::sin(y * 0.05f + i) * 1.5f, static_cast<float>(y), 0.9f, value, 0.8f);
    }
    if (random.unit() < 0.6f) {  // a hair: a wandering dark curve
        float x = random.range(40, 216), y = random.range(40, 216), angle = random.range(0, 6.28f);
        for (int s = 0; s < 160; ++s) {
            angle += random.range(-0.12f, 0.12f);
            x += std::cos(angle);
            y += std::sin(angle);
            stamp(x, y, 0.8f, 0.02f, 0.9f);
        }
    }
    Pixels out(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            auto r = static_cast<std::uint8_t>(std::lround(clamp01(grey[y * n + x]) * 255));
            auto a = static_cast<std::uint8_t>(std::lround(clamp01(alpha[y * n + x]) * 255));
            std::uint8_t* p = out.at(x, y);
            p[0] = p[1] = p[2] = r;
            p[3] = static_cast<std::uint8_t>(a - r);  // wraps: (A + R) mod 256 = a
        }
    return out;
}

// An icon: the first letter of the title on a dark disc, green around it.
bool write_icon(const std::string& path, int size) {
    std::uint8_t palette[256][3] = {};
    palette[0][0] = 0;
    palette[0][1] = 255;
    palette[0][2] = 0;
    for (int i = 1; i < 256; ++i) {
        Colour c = i < 128 ? mix(rgb(0x060a18), rgb(0x2a70d0), (i - 1) / 126.0f) : mix(rgb(0x2a70d0), rgb(0xf0f8ff), (i - 128) / 127.0f);
        palette[i][0] = encode(c.r);
        palette[i][1] = encode(c.g);
        palette[i][2] = encode(c.b);
    }
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size * 2 - 1, v = (y + 0.5f) / size * 2 - 1;
            float r = std::hypot(u, v);
            if (r > 0.97f) {
                indices[y * size + x] = 0;
                continue;
            }
            // The H of the title, 1.3 cap heights across the disc.
            float d = title_distance(u * 0.75f - 2.0f, 0.5f - v * 0.75f);
            float level = d < 0 ? 0.75f + 0.25f * (1 - r) : 0.1f + 0.35f * (1 - r) + (r > 0.85f ? 0.3f : 0.0f);
            indices[y * size + x] = static_cast<std::uint8_t>(1 + std::lround(level * 254));
        }
    return write_pcx(path, size, size, indices, palette);
}

}  // namespace

void add_picture_tasks(const std::string& pool, std::vector<Task>& tasks) {
    // The sky faces first: they are the slowest.
    const Environment skies[3] = {sky_dusk_sea, sky_desert_storm, sky_nebula};
    for (int set = 2; set >= 0; --set)
        for (int face = 0; face < sky_box::face_count; ++face) {
            char name[64];
            std::snprintf(name, sizeof name, "/cubemap_%d%c.png", set, sky_box::face_letters[face]);
            Environment sky = skies[set];
            tasks.push_back([path = pool + name, sky, face] { return write_png(path, sky_face(sky, face)); });
        }
    const char* noise_names = "cfklmstz";
    for (int i = 0; i < 8; ++i)
        tasks.push_back([path = pool + "/noise_" + noise_names[i] + ".png", i] {
            return write_png(path, noise_frame(1000u + static_cast<std::uint32_t>(i) * 37u));
        });
    tasks.push_back([pool] { return write_png(pool + "/loading.png", loading_picture()); });
    tasks.push_back([pool] { return write_png(pool + "/test.png", sphere_map(studio_chrome, 512)); });
    tasks.push_back([pool] { return write_png(pool + "/mizzle.png", sphere_map(studio_sandstone, 512)); });
    tasks.push_back([pool] { return write_png(pool + "/particle.png", particle()) && write_png(pool + "/tarrow.png", beat_flash()); });
    tasks.push_back([pool] { return write_icon(pool + "/icon.pcx", 32) && write_icon(pool + "/icons.pcx", 16); });
}
