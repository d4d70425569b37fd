// The generated pool/ read by the program's own readers, in the sizes the
// program gives them, held against outside readings of the same files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data/file_table.h"
#include "fake_platform.h"
#include "image/icon.h"
#include "image/pcx.h"
#include "image/png.h"
#include "mesh/global_meshes.h"
#include "mesh/mesh.h"
#include "pool_reference.h"
#include "temp_dir.h"

namespace {

using namespace pool_reference;

class PoolReaders : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        fake::link_pool(HEDEN_POOL_DIR);
        blob_open();
        fake::state.console.clear();
    }
    void TearDown() override { blob_close(); }
    fake::TempDir dir;
};

// The console without the file loader's own line for each file it reads:
// what the readers said.
std::string reader_messages() {
    std::string kept;
    std::size_t at = 0;
    const std::string& all = fake::state.console;
    while (at < all.size()) {
        std::size_t end = all.find('\n', at);
        end = end == std::string::npos ? all.size() : end + 1;
        if (all.compare(at, 8, "file.io ") != 0) kept += all.substr(at, end - at);
        at = end;
    }
    return kept;
}

TEST_F(PoolReaders, EveryPictureDecodesToLibpngsPixelsInABufferOfItsLimit) {
    for (const std::string& name : png_names()) {
        Decoded reference = decode_png(pool() + "/" + name);
        ASSERT_TRUE(reference.ok) << name;
        // Exactly the limit: a larger picture is refused and leaves 0 x 0.
        std::vector<std::uint8_t> buffer(4 * static_cast<std::size_t>(png_pixel_limit(name)));
        Image image{0, 0, 0, buffer.data(), static_cast<std::uint32_t>(buffer.size())};
        png_load(("pool/" + name).c_str(), &image);
        ASSERT_EQ(image.width, static_cast<std::uint32_t>(reference.width)) << name;
        ASSERT_EQ(image.height, static_cast<std::uint32_t>(reference.height)) << name;
        EXPECT_TRUE(std::equal(reference.rgba.begin(), reference.rgba.end(), buffer.begin())) << name;
    }
    EXPECT_EQ(reader_messages(), "");
    EXPECT_TRUE(fake::state.boxes.empty());
}

TEST_F(PoolReaders, IconsDecodeIntoTheIconBuffersAsTheirPaletteColours) {
    icon_images_load();
    const std::pair<const Image*, const char*> icons[] = {{&icon_image, "icon.pcx"}, {&small_icon_image, "icons.pcx"}};
    for (auto [image, name] : icons) {
        PalettePicture reference = read_pcx(pool() + "/" + name);
        ASSERT_TRUE(reference.ok) << name;
        ASSERT_EQ(image->capacity, 4 * icon_pixel_capacity) << name;
        ASSERT_EQ(image->width, static_cast<std::uint32_t>(reference.width)) << name;
        ASSERT_EQ(image->height, static_cast<std::uint32_t>(reference.height)) << name;
        int wrong = 0;
        for (std::size_t i = 0; i < reference.indices.size(); ++i) {
            const std::uint8_t* colour = reference.palette + 3 * reference.indices[i];
            const std::uint8_t* pixel = image->pixels + 4 * i;
            wrong += pixel[0] != colour[0] || pixel[1] != colour[1] || pixel[2] != colour[2] || pixel[3] != 0;
        }
        EXPECT_EQ(wrong, 0) << name;
        // The window icon made from it: see-through corner, drawn middle.
        static IconBits bits;
        ASSERT_EQ(icon_bits_make(*image, &bits), 0) << name;
        std::uint32_t middle = image->height / 2 * bits.mask_row_bytes + image->width / 2 / 8;
        EXPECT_TRUE(bits.and_mask[0] & 0x80) << name;
        EXPECT_FALSE(bits.and_mask[middle] & (0x80 >> (image->width / 2 % 8))) << name;
    }
    EXPECT_EQ(reader_messages(), "");
    EXPECT_TRUE(fake::state.boxes.empty());
}

// The reader notes each FACE polygon chunk on the console; nothing else may
// appear.
TEST_F(PoolReaders, DolphinLoadsWholeIntoTheDolphinMeshWithOnlyTheFaceNotes) {
    LightWaveCounts reference = count_lightwave(bytes_of(pool() + "/dolphin.lwo"));
    ASSERT_TRUE(reference.ok);
    ASSERT_EQ(reference.other_polygons, 0);
    ASSERT_FALSE(reference.face_chunk_words.empty());
    FileData file{nullptr, 0};
    ASSERT_EQ(load_file("pool/dolphin.lwo", &file), 0);
    dolphinMesh.clear();
    dolphinMesh.readLightWave(file.size, file.data);
    std::string notes;
    for (long word : reference.face_chunk_words) notes += "[FACE size!=" + std::to_string(word) + "]\n";
    EXPECT_EQ(reader_messages(), notes);
    // No point welded away or dropped, every triangle taken.
    EXPECT_EQ(dolphinMesh.vertexCount, static_cast<std::uint32_t>(reference.points));
    EXPECT_EQ(dolphinMesh.triangleCount, static_cast<std::uint32_t>(reference.triangles));
    EXPECT_LT(dolphinMesh.vertexCount, dolphinMesh.vertexCapacity) << "room to spare";
    EXPECT_LE(dolphinMesh.triangleCount, dolphinMesh.triangleCapacity);
    // Shown at a hundredth of its size, it is a few units long.
    double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9};
    for (std::uint32_t i = 0; i < dolphinMesh.vertexCount; ++i) {
        const double p[3] = {dolphinMesh.vertices[i].x, dolphinMesh.vertices[i].y, dolphinMesh.vertices[i].z};
        for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
    }
    double longest = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]}) * 0.01;
    EXPECT_GT(longest, 1.5);
    EXPECT_LT(longest, 5.0);
    dolphinMesh.clear();
}

int open_edges(const Mesh& mesh) {
    int open = 0;
    for (std::uint32_t i = 0; i < mesh.edgeCount; ++i) open += mesh.edges[i].secondTriangle == no_second_triangle;
    return open;
}

// Loads a stored mesh into the demo's own mesh for it and compares it with
// the file, number for number.
void expect_stored_mesh_loads(Mesh& mesh, const std::string& name, int allowed_open_edges) {
    StoredMesh reference = read_stored(pool() + "/iso/" + name);
    ASSERT_GT(reference.triangles, 100u) << name;
    fake::state.console.clear();
    const std::string path = "pool/iso/" + name;
    mesh.loadFile(path.c_str());
    char finalized[160];
    std::snprintf(finalized, sizeof finalized, "<finalize `%s` %utris %uverts>\n", path.c_str(), reference.triangles,
                  reference.vertices);
    EXPECT_EQ(reader_messages(), finalized) << "refused, or a triangle was reported";
    ASSERT_EQ(mesh.vertexCount, reference.vertices) << name;
    ASSERT_EQ(mesh.triangleCount, reference.triangles) << name;
    int moved = 0, renumbered = 0;
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        const double* p = &reference.positions[3 * i];
        moved += mesh.vertices[i].x != p[0] || mesh.vertices[i].y != p[1] || mesh.vertices[i].z != p[2];
    }
    for (std::uint32_t t = 0; t < mesh.triangleCount; ++t)
        for (int k = 0; k < 3; ++k) renumbered += mesh.triangles[t].index[k] != reference.indices[3 * t + k];
    EXPECT_EQ(moved, 0) << name;
    EXPECT_EQ(renumbered, 0) << name;
    EXPECT_LE(open_edges(mesh), allowed_open_edges) << name;
}

TEST_F(PoolReaders, StoredMeshesLoadWholeIntoTheTitleAndCanyonMeshes) {
    expect_stored_mesh_loads(tekstMesh, "tekst.bin", 0);
    expect_stored_mesh_loads(canyonMesh, "canyon.bin", 40);
    tekstMesh.clear();
    canyonMesh.clear();
}

}  // namespace
