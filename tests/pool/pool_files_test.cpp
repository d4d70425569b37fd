// The generated pool/: every file the demo loads is there, readable by
// outside decoders, and within the program's limits.
#include <gtest/gtest.h>
#include <png.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "demo/sky_box.h"
#include "pool_reference.h"

namespace {

using namespace pool_reference;

TEST(PoolPictures, EveryTextureDecodesWithLibpngWithinItsPixelLimit) {
    for (const std::string& name : png_names()) {
        Decoded d = decode_png(pool() + "/" + name);
        ASSERT_TRUE(d.ok) << name;
        EXPECT_LE(static_cast<long>(d.width) * d.height, png_pixel_limit(name)) << name;
        EXPECT_GE(d.width, 16) << name;
    }
}

TEST(PoolPictures, KeyedPicturesHaveBothKeyAndDrawnPixels) {
    for (const char* name : {"particle.png", "tarrow.png"}) {
        Decoded d = decode_png(pool() + "/" + name);
        ASSERT_TRUE(d.ok);
        long key = 0, drawn = 0;
        for (std::size_t i = 0; i < d.rgba.size(); i += 4) {
            bool green = d.rgba[i] == 0 && d.rgba[i + 1] == 255 && d.rgba[i + 2] == 0;
            (green ? key : drawn)++;
        }
        EXPECT_GT(key, drawn / 4) << name;
        EXPECT_GT(drawn, 100) << name;
    }
    Decoded flash = decode_png(pool() + "/tarrow.png");
    EXPECT_EQ(flash.width, 1024);
    EXPECT_EQ(flash.height, 512);
}

// The program turns a noise pixel's alpha into (A + R) mod 256: the frames
// are made so that this gives mostly see-through grain with solid specks.
TEST(PoolPictures, NoiseFramesGiveGrainOpacityAfterTheAlphaSum) {
    for (char c : std::string("cfklmstz")) {
        Decoded d = decode_png(pool() + "/noise_" + c + ".png");
        ASSERT_TRUE(d.ok);
        double sum = 0;
        int solid = 0;
        for (std::size_t i = 0; i < d.rgba.size(); i += 4) {
            int alpha = (d.rgba[i + 3] + d.rgba[i]) % 256;
            sum += alpha;
            solid += alpha > 200;
        }
        double mean = sum / (d.rgba.size() / 4) / 255.0;
        EXPECT_GT(mean, 0.2) << c;
        EXPECT_LT(mean, 0.6) << c;
        EXPECT_GT(solid, 20) << c;
    }
}

// Each face edge is shared with a neighbour: the texels along it must show
// the same colour on both faces, or the sky box shows seams.
TEST(PoolPictures, SkyFacesMeetWithoutSeams) {
    using Corner = std::array<float, 3>;
    auto corner = [](int face, int k) { return Corner{sky_box::corners[face][k][0], sky_box::corners[face][k][1], sky_box::corners[face][k][2]}; };
    // The texel run along edge k of a face, from corner k to corner k+1.
    const int uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int set = 0; set < 3; ++set) {
        std::vector<Decoded> faces;
        for (int f = 0; f < 6; ++f)
            faces.push_back(decode_png(pool() + "/cubemap_" + std::to_string(set) + sky_box::face_letters[f] + ".png"));
        for (const Decoded& face : faces) ASSERT_TRUE(face.ok && face.width == face.height && face.width == faces[0].width);
        auto texel = [&](int f, int k, int step, int steps) {
            const Decoded& d = faces[f];
            double t = static_cast<double>(step) / steps;
            int a = k, b = (k + 1) % 4;
            double s = uv[a][0] + (uv[b][0] - uv[a][0]) * t, v = uv[a][1] + (uv[b][1] - uv[a][1]) * t;
            int x = static_cast<int>(std::lround(s * (d.width - 1))), y = static_cast<int>(std::lround(v * (d.height - 1)));
            return &d.rgba[(static_cast<std::size_t>(y) * d.width + x) * 4];
        };
        int shared = 0;
        for (int f = 0; f < 6; ++f)
            for (int k = 0; k < 4; ++k)
                for (int g = 0; g < 6; ++g)
                    for (int m = 0; m < 4; ++m) {
                        if (g == f) continue;
                        // Same edge when g's edge runs between the same two corners, in reverse.
                        if (corner(f, k) != corner(g, (m + 1) % 4) || corner(f, (k + 1) % 4) != corner(g, m)) continue;
                        ++shared;
                        int worst = 0;
                        // Every texel along the edge (faces are square, all of one size).
                        const int last = faces[f].width - 1;
                        for (int step = 0; step <= last; ++step) {
                            const std::uint8_t* p = texel(f, k, step, last);
                            const std::uint8_t* q = texel(g, m, last - step, last);
                            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(p[c] - q[c]));
                        }
                        EXPECT_LE(worst, 3) << "set " << set << " faces " << f << "/" << g;
                    }
        EXPECT_EQ(shared, 24);  // twelve cube edges, each seen from both sides
    }
}

// The one-plane, 256-colour PCX as the icon loader reads it.
TEST(PoolIcons, PcxIconsAreOnePlanePaletteImagesWithGreenAroundThem) {
    for (auto [name, size] : {std::pair<const char*, int>{"icon.pcx", 32}, {"icons.pcx", 16}}) {
        PalettePicture p = read_pcx(pool() + "/" + name);
        ASSERT_TRUE(p.ok) << name;
        EXPECT_EQ(p.width, size);
        EXPECT_EQ(p.height, size);
        EXPECT_EQ(p.planes, 1);
        auto green = [&](int index) { return p.palette[index * 3] == 0 && p.palette[index * 3 + 1] == 255 && p.palette[index * 3 + 2] == 0; };
        EXPECT_TRUE(green(p.indices[0])) << "corner is transparent";
        EXPECT_FALSE(green(p.indices[size * size / 2 + size / 2])) << "middle is drawn";
    }
}

// Closed: every directed edge appears once and its reverse once.
int unmatched_edges(const StoredMesh& m) {
    std::map<std::pair<int, int>, int> directed;
    for (std::size_t t = 0; t < m.indices.size(); t += 3)
        for (int k = 0; k < 3; ++k) directed[{m.indices[t + k], m.indices[t + (k + 1) % 3]}]++;
    int bad = 0;
    for (const auto& [edge, count] : directed) {
        auto reverse = directed.find({edge.second, edge.first});
        if (count != 1 || reverse == directed.end() || reverse->second != 1) ++bad;
    }
    return bad;
}

// `open_edges` allows a few edges where the polygonizer's one vertex per
// cell joins two sheets of a thin rock feature (not a shadow caster).
void expect_sound_mesh(const std::string& name, std::uint32_t max_vertices, std::uint32_t max_triangles, double half_x,
                       double half_extent, int open_edges) {
    StoredMesh m = read_stored(pool() + "/iso/" + name);
    ASSERT_GT(m.triangles, 100u) << name;
    EXPECT_LE(m.vertices, max_vertices) << name;
    EXPECT_LE(m.triangles, max_triangles) << name;
    double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9};
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        lo[i % 3] = std::min(lo[i % 3], m.positions[i]);
        hi[i % 3] = std::max(hi[i % 3], m.positions[i]);
    }
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(lo[axis] + hi[axis], 0.0, 2.0) << name << " centred, axis " << axis;
        EXPECT_LE(hi[axis] - lo[axis], 2 * half_extent) << name << " axis " << axis;
    }
    EXPECT_NEAR(hi[0] - lo[0], 2 * half_x, 0.1 * half_x) << name << " width";
    for (std::size_t t = 0; t < m.indices.size(); t += 3) {
        const std::uint16_t* tri = &m.indices[t];
        ASSERT_TRUE(tri[0] < m.vertices && tri[1] < m.vertices && tri[2] < m.vertices) << name;
        double e1[3], e2[3];
        for (int k = 0; k < 3; ++k) {
            e1[k] = m.positions[tri[1] * 3 + k] - m.positions[tri[0] * 3 + k];
            e2[k] = m.positions[tri[2] * 3 + k] - m.positions[tri[0] * 3 + k];
        }
        double cx = e1[1] * e2[2] - e1[2] * e2[1], cy = e1[2] * e2[0] - e1[0] * e2[2], cz = e1[0] * e2[1] - e1[1] * e2[0];
        ASSERT_GT(cx * cx + cy * cy + cz * cz, 1e-12) << name << " triangle " << t / 3 << " has no area";
    }
    EXPECT_LE(unmatched_edges(m), open_edges) << name;
    // Outward winding: the enclosed volume comes out positive.
    double volume = 0;
    for (std::size_t t = 0; t < m.indices.size(); t += 3) {
        const double* a = &m.positions[m.indices[t] * 3];
        const double* b = &m.positions[m.indices[t + 1] * 3];
        const double* c = &m.positions[m.indices[t + 2] * 3];
        volume += a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
    }
    EXPECT_GT(volume, 0.0) << name;
}

TEST(PoolMeshes, TitleIsAClosedOutwardMeshTwentyUnitsWideWithinItsCapacity) {
    expect_sound_mesh("tekst.bin", 4000, 8000, 10.0, 10.5, 0);
}

TEST(PoolMeshes, CanyonIsANearlyClosedOutwardMeshWithinSixteenUnitsAndItsCapacity) {
    expect_sound_mesh("canyon.bin", 8000, 12000, 15.0, 16.0, 40);
}

size_t read_ogg(void* out, size_t size, size_t count, void* source) {
    auto* s = static_cast<std::pair<const std::vector<std::uint8_t>*, std::size_t>*>(source);
    std::size_t n = std::min(size * count, s->first->size() - s->second);
    std::memcpy(out, s->first->data() + s->second, n);
    s->second += n;
    return size ? n / size : 0;
}

TEST(PoolSoundtrack, OggDecodesAsStereo44100AndLasts356BeatsPlusATail) {
    std::vector<std::uint8_t> file = bytes_of(pool() + "/quorvane_28_juli.ogg");
    std::pair<const std::vector<std::uint8_t>*, std::size_t> source{&file, 0};
    OggVorbis_File vf;
    ov_callbacks callbacks{read_ogg, nullptr, nullptr, nullptr};
    ASSERT_EQ(ov_open_callbacks(&source, &vf, nullptr, 0, callbacks), 0);
    vorbis_info* info = ov_info(&vf, -1);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 44100);
    // Decode it all: a stream that breaks half-way would fail here.
    std::vector<char> buffer(1 << 16);
    long long frames = 0;
    int section = 0;
    long got;
    float peak = 0;
    while ((got = ov_read(&vf, buffer.data(), static_cast<int>(buffer.size()), 0, 2, 1, &section)) > 0) {
        frames += got / 4;
        for (long i = 0; i + 1 < got; i += 2) {
            std::int16_t v;
            std::memcpy(&v, &buffer[static_cast<std::size_t>(i)], 2);
            peak = std::max(peak, std::fabs(static_cast<float>(v)));
        }
    }
    EXPECT_EQ(got, 0) << "decode error";
    ov_clear(&vf);
    double seconds = static_cast<double>(frames) / 44100.0;
    double music = 356.0 * 60.0 / 152.0;
    EXPECT_GE(seconds, music);
    EXPECT_LE(seconds, music + 2.0);
    EXPECT_LT(peak, 32767.0f) << "clipped";
}

}  // namespace
