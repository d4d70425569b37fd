// The shipped configuration: files are served from blob.dat in load order.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "blob_bytes.h"
#include "data/file_table.h"
#include "fake_platform.h"
#include "temp_dir.h"

namespace {

static_assert(read_from_blob && !write_blob, "the shipped program reads blob.dat and writes nothing");

class Archive : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        platform::console_allocate();
    }
    void TearDown() override { blob_close(); }
    std::string text(const FileData& f) { return std::string(reinterpret_cast<const char*>(f.data), f.size); }
    fake::TempDir dir;
};

TEST_F(Archive, EntriesAreHandedOutInOrderWhateverThePath) {
    fake::write_file("blob.dat", fake::blob_image({std::string(10, 'a'), std::string(20, 'b')}));
    EXPECT_EQ(blob_open(), 0);
    FileData first{}, second{};
    EXPECT_EQ(load_file("pool/shader/zbuffer.txt", &first), 0);
    EXPECT_EQ(load_file("anything", &second), 0);
    EXPECT_EQ(text(first), std::string(10, 'a'));
    EXPECT_EQ(text(second), std::string(20, 'b'));
    EXPECT_EQ(fake::state.console,
              "io blob system active..\n"
              "blob read 1 :: `pool/shader/zbuffer.txt` 10B \n"
              "blob read 2 :: `anything` 20B \n");
    EXPECT_TRUE(fake::state.boxes.empty());
    fake::state.console.clear();
    blob_close();
    EXPECT_EQ(fake::state.console,
              "offset 0 |\t size 10 bytes\noffset 10 |\t size 20 bytes\n"
              "io blob system offline..  (30 bytes read in 2 files),\n");
}

TEST_F(Archive, SummaryCoversHandedOutEntriesOnly) {
    fake::write_file("blob.dat", fake::blob_image({"one", "two", "three"}));
    blob_open();
    FileData f{};
    load_file("x", &f);
    fake::state.console.clear();
    blob_close();
    EXPECT_EQ(fake::state.console, "offset 0 |\t size 3 bytes\nio blob system offline..  (3 bytes read in 1 files),\n");
}

TEST_F(Archive, DamagedMagicWarnsAndStillLoads) {
    fake::write_file("blob.dat", fake::blob_image({"hello"}, 0x12345678u));
    blob_open();
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "blob alloction table corrupt?");
    FileData f{};
    EXPECT_EQ(load_file("x", &f), 0);
    EXPECT_EQ(text(f), "hello");
}

TEST_F(Archive, LoadingPastTheArchiveFailsCleanly) {
    fake::write_file("blob.dat", fake::blob_image({"only"}));
    blob_open();
    FileData f{};
    EXPECT_EQ(load_file("a", &f), 0);
    EXPECT_EQ(load_file("pool/b.png", &f), -1);
    EXPECT_EQ(f.data, nullptr);
    EXPECT_EQ(f.size, 0);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "blob.dat holds 1 files, no entry left for pool/b.png");
}

TEST_F(Archive, EmptyAndZeroLengthEntries) {
    fake::write_file("blob.dat", fake::blob_image({"", "z"}));
    blob_open();
    FileData f{};
    EXPECT_EQ(load_file("a", &f), 0);
    EXPECT_EQ(f.size, 0);
    EXPECT_NE(f.data, nullptr);
    EXPECT_EQ(load_file("b", &f), 0);
    EXPECT_EQ(text(f), "z");
}

TEST_F(Archive, MissingArchiveFallsBackToDiskReads) {
    fake::write_file("pool/a.txt", "from disk");
    blob_open();
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "blob.dat gone fishing?");
    EXPECT_NE(fake::state.console.find("no blob.dat: reading files from disk \n"), std::string::npos);
    FileData f{};
    EXPECT_EQ(load_file("pool/a.txt", &f), 0);
    EXPECT_EQ(text(f), "from disk");
    EXPECT_NE(fake::state.console.find("file.io  1 :: `pool/a.txt`  9B \n"), std::string::npos);
}

// Tables that lie about the file are refused before anything is read; the
// run then reads from disk as if there were no archive.
TEST_F(Archive, HostileTablesAreRejectedBeforeReading) {
    std::string too_many = fake::blob_image({"a"});
    too_many.replace(too_many.size() - 4, 4, std::string("\x41\x00\x00\x00", 4));  // 65 files
    std::string huge_count = fake::blob_image({"a"});
    huge_count.replace(huge_count.size() - 4, 4, std::string("\xff\xff\xff\x7f", 4));
    std::string table_too_big = fake::blob_image({});
    table_too_big.replace(table_too_big.size() - 4, 4, std::string("\x02\x00\x00\x00", 4));
    for (const std::string& image : {too_many, huge_count, table_too_big,
                                     std::string("\x99\x09\x60"), std::string()}) {
        fake::reset();
        fake::write_file("blob.dat", image);
        blob_open();
        EXPECT_EQ(file_table.archive_entries, 0);
        EXPECT_TRUE(file_table.from_disk);
        ASSERT_EQ(fake::state.boxes.size(), 1u);
        EXPECT_EQ(fake::state.boxes[0].rfind("blob.dat table does not fit the file", 0), 0u) << fake::state.boxes[0];
        blob_close();
    }
}

// A table that fits the file but whose sizes run past the contents: each
// entry gets the contents that are there (never the table's bytes), every
// short one is reported, and the archive still serves the run.
TEST_F(Archive, EntriesRunningPastTheContentsKeepWhatIsThere) {
    struct Case {
        std::vector<std::string> files;
        std::size_t damaged;        // entry whose recorded size is replaced
        std::uint32_t recorded;
        std::vector<std::string> served;
        std::size_t boxes;
    };
    const Case cases[] = {
        {{"first", "second-entry"}, 1, 100, {"first", "second-entry"}, 1},
        {{"first", "second-entry"}, 1, 0xFFFFFFFFu, {"first", "second-entry"}, 1},
        {{"aa", "bbb", "c"}, 1, 100, {"aa", "bbbc", ""}, 2},
    };
    for (const Case& c : cases) {
        fake::reset();
        std::string image = fake::blob_image(c.files);
        std::size_t table = image.size() - 4 - 8 * c.files.size();
        fake::put_u32_at(&image, table + 8 * c.damaged + 4, c.recorded);
        fake::write_file("blob.dat", image);
        blob_open();
        EXPECT_FALSE(file_table.from_disk);
        ASSERT_EQ(file_table.archive_entries, static_cast<int>(c.files.size()));
        EXPECT_EQ(fake::state.boxes, std::vector<std::string>(c.boxes, "read difficulties"));
        for (const std::string& expected : c.served) {
            FileData f{};
            ASSERT_EQ(load_file("x", &f), 0);
            EXPECT_EQ(text(f), expected);
        }
        blob_close();
    }
}

// Opening a directory succeeds on Linux; it is no archive.
TEST_F(Archive, ADirectoryNamedBlobDatCountsAsMissing) {
    ASSERT_TRUE(std::filesystem::create_directory("blob.dat"));
    fake::write_file("pool/a.txt", "from disk");
    blob_open();
    EXPECT_EQ(fake::state.boxes, std::vector<std::string>{"blob.dat gone fishing?"});
    EXPECT_TRUE(file_table.from_disk);
    FileData f{};
    EXPECT_EQ(load_file("pool/a.txt", &f), 0);
    EXPECT_EQ(text(f), "from disk");
}

// Written by the archive maker's own test run (see CMake fixture).
TEST_F(Archive, ReadsWhatTheArchiveMakerWrote) {
    const char* made = std::getenv("HEDEN_MADE_BLOB");
    if (!made) GTEST_SKIP() << "run through ctest to get the archive maker's blob.dat";
    fake::write_file("blob.dat", fake::read_file(made));
    blob_open();
    FileData a{}, b{}, c{};
    EXPECT_EQ(load_file("a", &a), 0);
    EXPECT_EQ(load_file("b", &b), 0);
    EXPECT_EQ(load_file("c", &c), 0);
    EXPECT_EQ(text(a), std::string(10, '1'));
    EXPECT_EQ(text(b), "");
    EXPECT_EQ(text(c), std::string(20, '2'));
    EXPECT_TRUE(fake::state.boxes.empty());
}

}  // namespace
