#include <cstdio>
#include <cstdlib>

#include "log/log.h"
#include "data/file_table.h"

namespace {

LoadResult load_from_archive(const char* path, FileData* file) {
    if (file_table.count >= file_table.archive_entries) {
        error_box("blob.dat holds %i files, no entry left for %s", file_table.archive_entries, path);
        *file = FileData{nullptr, 0};
        return load_nothing;
    }
    *file = file_table.entries[file_table.count++];
    log_print("blob read %i :: `%s` %iB \n", file_table.count, path, file->size);
    return load_ok;
}

LoadResult load_from_disk(const char* path, FileData* file) {
    std::FILE* in = std::fopen(path, "rb");
    if (!in) {
        file->size = 0;
        error_box("file %s does not exist?", path);
        return load_nothing;
    }
    if (file_table.count >= file_table_capacity) {
        std::fclose(in);
        *file = FileData{nullptr, 0};
        error_box("file table full (%i files), %s not loaded", file_table_capacity, path);
        return load_nothing;
    }
    std::fseek(in, 0, SEEK_END);
    long size = std::ftell(in);
    std::fseek(in, 0, SEEK_SET);
    if (size < 0 || size > INT32_MAX) size = 0;
    // One byte more than the file, so that an empty file still gets a buffer.
    auto* data = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(size) + 1));
    std::size_t got = data ? std::fread(data, 1, static_cast<std::size_t>(size), in) : 0;
    std::fclose(in);
    // A short read keeps what arrived rather than handing out unread bytes.
    file_table.entries[file_table.count] = FileData{data, static_cast<std::int32_t>(got)};
    *file = file_table.entries[file_table.count++];
    log_print("file.io %2i :: `%s`  %iB \n", file_table.count, path, file->size);
    return load_ok;
}

}  // namespace

LoadResult load_file(const char* path, FileData* file) {
    return file_table.from_disk ? load_from_disk(path, file) : load_from_archive(path, file);
}

int release_file(const char* path, FileData* file) { return 0; }
