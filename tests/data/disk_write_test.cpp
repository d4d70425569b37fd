// The archive maker's configuration: files come from disk and are stored in
// a new blob.dat at exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "blob_bytes.h"
#include "data/file_table.h"
#include "fake_platform.h"
#include "temp_dir.h"

namespace {

static_assert(!read_from_blob && write_blob, "the archive maker reads from disk and writes blob.dat");

class Disk : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
        blob_open();
    }
    fake::TempDir dir;
};

TEST_F(Disk, LoadsAreNumberedAndRecorded) {
    fake::write_file("pool/a.bin", std::string(10, 'a'));
    fake::write_file("pool/b.bin", std::string(20, 'b'));
    FileData f{};
    for (const char* path : {"pool/a.bin", "pool/b.bin", "pool/a.bin"}) EXPECT_EQ(load_file(path, &f), 0);
    EXPECT_EQ(file_table.count, 3);
    EXPECT_EQ(fake::state.console,
              "io blob system active..\n"
              "file.io  1 :: `pool/a.bin`  10B \n"
              "file.io  2 :: `pool/b.bin`  20B \n"
              "file.io  3 :: `pool/a.bin`  10B \n");
    EXPECT_EQ(release_file("pool/a.bin", &f), 0);
    EXPECT_EQ(f.size, 10);  // release changes nothing; the buffer lives on
    EXPECT_EQ(f.data[9], 'a');
    blob_close();
}

TEST_F(Disk, TwoFilesMakeThe54ByteArchive) {
    fake::write_file("ten", std::string(10, 'x'));
    fake::write_file("twenty", std::string(20, 'y'));
    FileData f{};
    load_file("ten", &f);
    load_file("twenty", &f);
    fake::state.console.clear();
    blob_close();
    std::string written = fake::read_file("blob.dat");
    EXPECT_EQ(written.size(), 54u);
    EXPECT_EQ(written, fake::blob_image({std::string(10, 'x'), std::string(20, 'y')}));
    EXPECT_EQ(fake::state.console,
              "offset 0 |\t size 10 bytes\noffset 10 |\t size 20 bytes\n"
              "io blob system offline..  (30 bytes read in 2 files),\n");
    EXPECT_EQ(file_table.count, 0);
}

TEST_F(Disk, RunWithoutLoadsWritesTheEightByteArchive) {
    blob_close();
    EXPECT_EQ(fake::read_file("blob.dat"), std::string("\x99\x09\x60\x66\x00\x00\x00\x00", 8));
}

TEST_F(Disk, MissingFileIsReportedAndNotRecorded) {
    fake::write_file("there", "1234");
    FileData f{reinterpret_cast<std::uint8_t*>(&f), 77};
    EXPECT_EQ(load_file("pool/gone.png", &f), -1);
    EXPECT_EQ(f.size, 0);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "file pool/gone.png does not exist?");
    load_file("there", &f);
    EXPECT_EQ(file_table.count, 1);
    blob_close();
    EXPECT_EQ(fake::read_file("blob.dat"), fake::blob_image({"1234"}));
}

TEST_F(Disk, ZeroLengthFileGetsABufferAndIsRecorded) {
    fake::write_file("empty", "");
    FileData f{};
    EXPECT_EQ(load_file("empty", &f), 0);
    EXPECT_EQ(f.size, 0);
    EXPECT_NE(f.data, nullptr);
    EXPECT_EQ(file_table.count, 1);
    blob_close();
}

TEST_F(Disk, TheSixtyFifthLoadIsRefused) {
    fake::write_file("f", "x");
    FileData f{};
    for (int i = 0; i < 64; ++i) ASSERT_EQ(load_file("f", &f), 0);
    EXPECT_EQ(load_file("f", &f), -1);
    EXPECT_EQ(f.data, nullptr);
    EXPECT_EQ(f.size, 0);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "file table full (64 files), f not loaded");
    blob_close();
    EXPECT_EQ(fake::read_file("blob.dat").size(), 4u + 64 + 8 * 64 + 4);
}

TEST_F(Disk, UncreatableArchiveSkipsTheWriteButStillSummarisesAndFrees) {
    fake::write_file("f", "abc");
    FileData f{};
    load_file("f", &f);
    std::filesystem::create_directory("blob.dat");  // nothing can create a file there
    fake::state.console.clear();
    blob_close();
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "blob.dat cannot be created, archive not written");
    EXPECT_EQ(fake::state.console, "offset 0 |\t size 3 bytes\nio blob system offline..  (3 bytes read in 1 files),\n");
    EXPECT_EQ(file_table.count, 0);
    EXPECT_EQ(file_table.entries[0].data, nullptr);
}

// Leaves an archive for the reading build's test to check (CMake fixture).
TEST_F(Disk, WritesAnArchiveForTheReadingBuild) {
    const char* out = std::getenv("HEDEN_MADE_BLOB");
    if (!out) GTEST_SKIP() << "run through ctest to hand the archive to the reading build";
    fake::write_file("a", std::string(10, '1'));
    fake::write_file("b", "");
    fake::write_file("c", std::string(20, '2'));
    FileData f{};
    for (const char* path : {"a", "b", "c"}) load_file(path, &f);
    blob_close();
    // MinGW's copy_file refuses to overwrite even when told to: remove first.
    std::filesystem::remove(out);
    std::filesystem::copy_file("blob.dat", out);
}

}  // namespace
