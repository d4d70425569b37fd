// The LightWave reader on files written here: LWOB and LWO2 geometry, every
// message, point numbering with welded points, damaged and hostile files,
// and Debian's assimp as a second reader of the same files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "lwo/lightwave.h"
#include "lwo_writer.h"
#include "mesh/mesh.h"
#include "temp_dir.h"

namespace {

using lwo::Polygon;

const std::vector<lwo::Point> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

class LightWave : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        lightWaveVersion = 0;
    }
    // Reads from a buffer of exactly the file's size, so that the sanitizers
    // catch any read past it.
    void read(const std::string& file) { read_into(mesh, file); }
    static void read_into(Mesh& target, const std::string& file) {
        std::vector<std::uint8_t> bytes(file.begin(), file.end());
        target.readLightWave(static_cast<std::int32_t>(bytes.size()), bytes.data());
    }
    std::vector<int> triangle(std::uint32_t i) const {
        return {mesh.triangles[i].index[0], mesh.triangles[i].index[1], mesh.triangles[i].index[2]};
    }
    std::string& console() { return fake::state.console; }
    Mesh mesh{4300, 2200};
};

TEST_F(LightWave, LwobQuadBecomesTwoTriangles) {
    read(lwo::form("LWOB", lwo::points(square) + lwo::lwob_polygons({{0, 1, 2, 3}})));
    EXPECT_EQ(lightWaveVersion, 1);
    EXPECT_EQ(mesh.vertexCount, 4u);
    ASSERT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(triangle(0), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(triangle(1), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(mesh.vertices[2].x, 1.0);
    EXPECT_EQ(mesh.vertices[2].y, 1.0);
    EXPECT_EQ(console(), "");
}

TEST_F(LightWave, LwobSurfaceNumbersOtherThanOneAreReported) {
    read(lwo::form("LWOB", lwo::points(square) + lwo::lwob_polygons({{0, 1, 2}, {0, 2, 3}}, 2)));
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(console(), "lwo:weird poly data?lwo:weird poly data?");

    // A negative number announces detail polygons; the words after it are
    // read as further polygons.
    mesh.clear();
    console().clear();
    std::string body;
    for (int word : {3, 0, 1, 2, -1, /* detail count, read as a polygon */ 1, 3, 1, 3, 0, 2, 3, 1})
        body += lwo::be16(std::uint16_t(word));
    read(lwo::form("LWOB", lwo::points(square) + lwo::chunk("POLS", body)));
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(console(), "lwo:weird poly data?");
}

TEST_F(LightWave, PolygonsOtherThanTrianglesAndQuadsAreDroppedWhole) {
    std::vector<lwo::Point> many;
    for (int i = 0; i < 40; ++i) many.push_back({float(i), float(i * i % 7), 0});
    Polygon big;
    for (std::uint16_t i = 0; i < 40; ++i) big.push_back(i);
    read(lwo::form("LWOB", lwo::points(many) + lwo::lwob_polygons({{0, 1, 2, 3, 4}, {5, 6}, big, {7, 8, 9}, {}})));
    ASSERT_EQ(mesh.triangleCount, 1u);
    EXPECT_EQ(triangle(0), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(console(), "");
}

TEST_F(LightWave, Lwo2ReadsFacesReportsTheirChunksAndSkipsBonesAndPatches) {
    std::string chunks = lwo::points(square) + lwo::lwo2_polygons({{0, 1, 2}}, "BONE") +
                         lwo::lwo2_polygons({{0, 1, 2}}, "PTCH") + lwo::lwo2_polygons({{0, 1, 2}, {0, 2, 3}}) +
                         lwo::lwo2_polygons({{3, 2, 1, 0}});
    read(lwo::form("LWO2", chunks));
    EXPECT_EQ(lightWaveVersion, 2);
    ASSERT_EQ(mesh.triangleCount, 4u);
    EXPECT_EQ(triangle(1), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(triangle(2), (std::vector<int>{3, 2, 0}));
    // The "size" printed is the first polygon's count and first index.
    EXPECT_EQ(console(), "[FACE size!=196608]\n[FACE size!=262147]\n");

    console().clear();
    read(lwo::form("LWO2", lwo::points(square) + lwo::lwo2_polygons({{0, 1, 2}}, "SUBD")));
    EXPECT_EQ(console(), "[RIFF? SUBD 76/88]");
    EXPECT_EQ(mesh.triangleCount, 4u);
}

TEST_F(LightWave, SkippedAndCheckedChunks) {
    std::string chunks = lwo::chunk("SRFS", "Default") + lwo::chunk("TAGS", "x") + lwo::chunk("LAYR", "yy") +
                         lwo::chunk("PTAG", "") + lwo::chunk("VMAP", "z") + lwo::chunk("ICON", "") +
                         lwo::chunk("TEXT", "t") + lwo::chunk("DESC", "d") + lwo::bbox(24) + lwo::points(square) +
                         lwo::bbox(12) + lwo::lwob_polygons({{0, 1, 2}});
    read(lwo::chunk("DATE", "2004") + lwo::form("LWOB", chunks));
    EXPECT_EQ(mesh.triangleCount, 1u);
    EXPECT_EQ(console(), "lwo: not 3d? ");
}

TEST_F(LightWave, UnknownChunksAndVersions) {
    // Top level: stepped over by the header only, so its data is read as chunks.
    read(lwo::chunk("JUNK", lwo::form("LWOB", lwo::points(square))));
    EXPECT_EQ(console(), "[RIFF? JUNK 8,76]");
    EXPECT_EQ(mesh.vertexCount, 4u);

    // Inside a form: ends that form; what was read stays.
    mesh.clear();
    console().clear();
    read(lwo::form("LWOB", lwo::points(square) + lwo::chunk("WHAT", "") + lwo::lwob_polygons({{0, 1, 2}})) +
         lwo::form("LWOB", lwo::lwob_polygons({{1, 2, 3}})));
    EXPECT_EQ(console(), "[RIFF? WHAT 76/94]");
    EXPECT_EQ(mesh.vertexCount, 4u);
    ASSERT_EQ(mesh.triangleCount, 1u);
    EXPECT_EQ(triangle(0), (std::vector<int>{1, 2, 3}));

    // A form of another type keeps the version it finds.
    console().clear();
    read(lwo::form("LWXX", lwo::points(square) + lwo::lwob_polygons({{0, 1, 3}})));
    EXPECT_EQ(lightWaveVersion, 1);
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(console(), "");
    lightWaveVersion = 0;
    console().clear();
    read(lwo::form("LWXX", lwo::lwob_polygons({{0, 1, 2}}) + lwo::lwob_polygons({{0, 1, 2}})));
    EXPECT_EQ(console(), "lwo : version problem 0 ?? lwo : version problem 0 ?? ");
}

TEST_F(LightWave, PointChunkOfAnOddSize) {
    std::string points = lwo::points(square);
    std::string odd = lwo::chunk("PNTS", points.substr(8) + "abcdef");
    read(lwo::form("LWOB", odd + lwo::lwob_polygons({{0, 1, 2}})));
    EXPECT_EQ(mesh.vertexCount, 4u);
    // Reading goes on right after the last whole point, inside the leftover.
    EXPECT_EQ(console().rfind(" -ERROR- [RIFF? abcd", 0), 0u) << console();
}

TEST_F(LightWave, SurfaceSubChunks) {
    const char specular[] = {'S', 'P', 'E', 'C', '\0'};
    std::string fields = lwo::sub_chunk("COLR", "rgb0") + lwo::sub_chunk("FLAG", "ff") + lwo::sub_chunk("DIFF", "dd") +
                         lwo::sub_chunk(specular, "ss") + lwo::sub_chunk("GLOS", "gg") + lwo::sub_chunk("TRAN", "tt") +
                         lwo::sub_chunk("LUMI", "ll") + lwo::sub_chunk("CMNT", "c");
    // SMAN of size 4 steps four bytes further, over the padding put here.
    std::string surface = std::string("Skin\0\0", 6) + fields + lwo::sub_chunk("SMAN", "abcd") + "pad!" +
                          lwo::sub_chunk("VTXT", "v") + lwo::sub_chunk("COLR", "x");
    read(lwo::form("LWOB", lwo::points(square) + lwo::chunk("SURF", surface) + lwo::lwob_polygons({{0, 1, 2}})));
    EXPECT_EQ(mesh.triangleCount, 1u);
    EXPECT_EQ(console(), "[RIFF? VTXT 167/175]");
}

TEST_F(LightWave, WeldedPointsKeepTheLaterNumbersRight) {
    // Point 1 welds onto point 0, so mesh vertices are 0, 0, 1, 2.
    std::vector<lwo::Point> points = {{0, 0, 0}, {0.001f, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    read(lwo::form("LWOB", lwo::points(points) + lwo::lwob_polygons({{0, 2, 3}, {1, 3, 2}})));
    EXPECT_EQ(mesh.vertexCount, 3u);
    ASSERT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(triangle(0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(triangle(1), (std::vector<int>{0, 2, 1}));
    // A point number past the points read is refused by the mesh.
    read(lwo::form("LWOB", lwo::lwob_polygons({{0, 1, 7}})));
    EXPECT_EQ(console(), "to early triangle insert 3 4 10\n");
}

TEST_F(LightWave, DamagedFilesLoseOnlyTheirDamagedPart) {
    std::string file = lwo::form("LWOB", lwo::points(square) + lwo::lwob_polygons({{0, 1, 2}, {0, 2, 3}}));
    // Cut inside the second polygon: the first one still arrives.
    read(file.substr(0, file.size() - 4));
    EXPECT_EQ(mesh.triangleCount, 1u);
    // Sizes far past the end of the file.
    mesh.clear();
    std::string huge = lwo::chunk("FORM", "LWOB" + lwo::chunk("PNTS", "", 0xFFFFFFF0u), 0xFFFFFFFFu);
    read(huge);
    read(lwo::chunk("DATE", "", 0x7FFFFFFF) + file);
    read(std::string("FOR"));
    EXPECT_EQ(mesh.vertexCount, 0u);
}

TEST_F(LightWave, RandomDamageNeverReadsOutsideTheFile) {
    // Run under the sanitizers, any read past the file image stops the test.
    lwo::Ball ball = lwo::make_ball(5, 6, 10);
    std::string surface = std::string("S\0", 2) + lwo::sub_chunk("COLR", "rgb0") + lwo::sub_chunk("SMAN", "abcd");
    const std::string files[] = {
        lwo::form("LWOB", lwo::points(ball.points) + lwo::chunk("SURF", surface) + lwo::lwob_polygons(ball.polygons)),
        lwo::form("LWO2", lwo::bbox(24) + lwo::points(ball.points) + lwo::lwo2_polygons(ball.polygons)),
    };
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
        std::string file = files[round % 2];
        const int edits = 1 + random() % 8;
        for (int e = 0; e < edits; ++e) file[random() % file.size()] = char(random() % 4 ? random() : 0xFF);
        if (round % 3 == 0) file.resize(random() % file.size());
        if (file.empty()) continue;
        lightWaveVersion = round % 3;
        mesh.clear();
        read(file);
        ASSERT_LE(mesh.vertexCount, mesh.vertexCapacity);
        ASSERT_LE(mesh.triangleCount, mesh.triangleCapacity);
    }
}

TEST_F(LightWave, LwobAndLwo2OfOneShapeGiveTheSameMesh) {
    lwo::Ball ball = lwo::make_ball(12, 16, 50);
    Mesh lwob(4300, 2200);
    read_into(lwob, lwo::form("LWOB", lwo::points(ball.points) + lwo::lwob_polygons(ball.polygons)));
    read(lwo::form("LWO2", lwo::points(ball.points) + lwo::lwo2_polygons(ball.polygons)));
    ASSERT_EQ(mesh.vertexCount, lwob.vertexCount);
    ASSERT_EQ(mesh.triangleCount, lwob.triangleCount);
    for (std::uint32_t i = 0; i < mesh.triangleCount; ++i)
        for (int k = 0; k < 3; ++k) ASSERT_EQ(mesh.triangles[i].index[k], lwob.triangles[i].index[k]);
    mesh.finalize("ball");
    EXPECT_EQ(mesh.edgeCount * 2, mesh.triangleCount * 3);  // closed
}

// Counts of a PLY header that assimp wrote: "element vertex N", "element face M".
bool ply_counts(const std::string& path, long& vertices, long& faces) {
    std::ifstream in(path);
    std::string line;
    vertices = faces = -1;
    while (std::getline(in, line) && line != "end_header") {
        std::sscanf(line.c_str(), "element vertex %ld", &vertices);
        std::sscanf(line.c_str(), "element face %ld", &faces);
    }
    return vertices >= 0 && faces >= 0;
}

TEST_F(LightWave, AssimpCountsTheSamePointsAndTriangles) {
#ifdef _WIN32
    GTEST_SKIP() << "assimp is run by the native build";
#endif
    fake::TempDir dir;
    lwo::Ball ball = lwo::make_ball(20, 24, 30);
    std::string tags;
    for (std::uint16_t i = 0; i < ball.polygons.size(); ++i) tags += lwo::be16(i) + lwo::be16(0);
    // assimp needs a layer, a surface tag per polygon and a smoothing angle
    // (so that it can join each point's corners into one vertex again).
    std::string layer = lwo::be16(0) + lwo::be16(0) + std::string(12, '\0') + std::string(2, '\0');
    std::string surface = std::string("Default\0\0\0", 10) + lwo::sub_chunk("SMAN", lwo::be_float(3.1f));
    std::string file = lwo::form(
        "LWO2", lwo::chunk("TAGS", std::string("Default\0", 8)) + lwo::chunk("LAYR", layer) + lwo::bbox(24) +
                    lwo::points(ball.points) + lwo::lwo2_polygons({{0, 5}, {5, 9}}, "BONE") +
                    lwo::lwo2_polygons(ball.polygons) + lwo::chunk("PTAG", "SURF" + tags) +
                    lwo::chunk("SURF", surface) + lwo::chunk("ZZZZ", "tail"));
    fake::write_file("ball.lwo", file);
    read(file);
    EXPECT_EQ(console(), "[FACE size!=196608]\n[RIFF? ZZZZ " + std::to_string(file.size() - 4) + "/" +
                             std::to_string(file.size()) + "]");

    ASSERT_EQ(std::system("assimp export ball.lwo ball.ply -jiv -tri > assimp.log 2>&1"), 0)
        << fake::read_file("assimp.log");
    long vertices = 0, faces = 0;
    ASSERT_TRUE(ply_counts("ball.ply", vertices, faces));
    EXPECT_EQ(vertices, long(ball.points.size()));
    EXPECT_EQ(vertices, long(mesh.vertexCount));
    EXPECT_EQ(faces, long(mesh.triangleCount));
    EXPECT_EQ(mesh.triangleCount, 2u * 24 * 20);
}

}  // namespace
