// Whole-file loading and the blob.dat archive that can serve every file.
#pragma once

#include <cstdint>

#ifndef HEDEN_READ_FROM_BLOB
#define HEDEN_READ_FROM_BLOB 1
#endif
#ifndef HEDEN_WRITE_BLOB
#define HEDEN_WRITE_BLOB 0
#endif

// Fixed when the program is built: the shipped demo reads its data from the
// archive; the archive maker reads from disk and writes blob.dat at exit.
constexpr bool read_from_blob = HEDEN_READ_FROM_BLOB != 0;
constexpr bool write_blob = HEDEN_WRITE_BLOB != 0;

constexpr int file_table_capacity = 64;
constexpr std::uint32_t blob_magic = 0x66600999u;

struct FileData {
    std::uint8_t* data;
    std::int32_t size;
};

struct FileTable {
    FileData entries[file_table_capacity];
    // Archive mode: the cursor (next entry to hand out). Disk mode: the number
    // of files recorded so far.
    std::int32_t count;
    // Entries held by the archive (archive mode only).
    std::int32_t archive_entries;
    // True when files are read from disk: the build switch is off, or the
    // archive was missing or unusable.
    bool from_disk;
};

extern FileTable file_table;

enum LoadResult : int {
    load_ok = 0,
    load_nothing = -1,  // nothing to hand out: `file` has size 0
};

// Fills `file` with the next archive entry or the file read from disk.
LoadResult load_file(const char* path, FileData* file);

// Does nothing: every buffer lives until blob_close.
int release_file(const char* path, FileData* file);

// Resets the table; in archive mode reads all of blob.dat into memory.
int blob_open();

// Optionally writes blob.dat, logs the table and frees every buffer.
int blob_close();
