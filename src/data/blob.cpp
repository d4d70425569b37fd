#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "log/log.h"
#include "data/file_table.h"

// Until blob_open runs, files come from wherever the build reads them.
FileTable file_table{{}, 0, 0, !read_from_blob};

namespace {

std::uint32_t read_u32(std::FILE* in) {
    unsigned char b[4] = {};
    if (std::fread(b, 1, 4, in) != 4) return 0;
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

void write_u32(std::FILE* out, std::uint32_t value) {
    unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    std::fwrite(b, 1, 4, out);
}

struct Table {
    std::uint32_t count = 0;
    std::uint32_t sizes[file_table_capacity];
    long contents_bytes = 0;  // between the magic and the table
};

// Reads the allocation table when it describes the file: at most 64 entries
// and the table inside the file, after the magic. Sizes that run past the
// contents are left to the reading, which gives such entries what is there.
bool read_table(std::FILE* in, long file_size, Table* table) {
    if (file_size < 8) return false;
    std::fseek(in, file_size - 4, SEEK_SET);
    table->count = read_u32(in);
    if (table->count > file_table_capacity) return false;
    long table_bytes = 8L * static_cast<long>(table->count) + 4;
    table->contents_bytes = file_size - table_bytes - 4;
    if (table->contents_bytes < 0) return false;
    std::fseek(in, file_size - table_bytes, SEEK_SET);
    for (std::uint32_t i = 0; i < table->count; ++i) {
        read_u32(in);  // the offset: entries are read back to back from position 4
        table->sizes[i] = read_u32(in);
    }
    return true;
}

// Reads the entries back to back from position 4, never into the table: an
// entry the contents cannot fill gets the bytes that are there.
void read_entries(std::FILE* in, const Table& table) {
    std::fseek(in, 4, SEEK_SET);
    long contents_left = table.contents_bytes;
    for (std::uint32_t i = 0; i < table.count; ++i) {
        std::uint32_t size = table.sizes[i];
        auto wanted = static_cast<std::uint32_t>(
            std::min<long long>({size, contents_left, std::numeric_limits<std::int32_t>::max()}));
        auto* data = static_cast<std::uint8_t*>(std::malloc(std::size_t{wanted} + 1));
        std::size_t got = data ? std::fread(data, 1, wanted, in) : 0;
        contents_left -= static_cast<long>(got);
        file_table.entries[i] = FileData{data, static_cast<std::int32_t>(got)};
        if (got != size) error_box("read difficulties");
    }
    file_table.archive_entries = static_cast<std::int32_t>(table.count);
}

// blob.dat for reading, or null when there is none. A directory opens on
// some systems but reading it fails at once.
std::FILE* open_blob() {
    std::FILE* in = std::fopen("blob.dat", "rb");
    if (!in) return nullptr;
    std::fgetc(in);
    if (!std::ferror(in)) return in;
    std::fclose(in);
    return nullptr;
}

void open_archive() {
    std::FILE* in = open_blob();
    if (!in) {
        error_box("blob.dat gone fishing?");
        log_print("no blob.dat: reading files from disk \n");
        file_table.from_disk = true;
        return;
    }
    std::fseek(in, 0, SEEK_END);
    long file_size = std::ftell(in);
    Table table;
    if (!read_table(in, file_size, &table)) {
        std::fclose(in);
        error_box("blob.dat table does not fit the file (%li bytes, %u files)", file_size, table.count);
        log_print("bad blob.dat: reading files from disk \n");
        file_table.from_disk = true;
        return;
    }
    std::fseek(in, 0, SEEK_SET);
    if (read_u32(in) != blob_magic) error_box("blob alloction table corrupt?");
    read_entries(in, table);
    std::fclose(in);
}

void write_archive() {
    std::FILE* out = std::fopen("blob.dat", "wb");
    if (!out) {
        error_box("blob.dat cannot be created, archive not written");
        return;
    }
    write_u32(out, blob_magic);
    for (int i = 0; i < file_table.count; ++i) {
        const FileData& entry = file_table.entries[i];
        std::int32_t written = 0;
        for (std::int32_t b = 0; b < entry.size; ++b)
            if (std::fputc(entry.data[b], out) != EOF) ++written;
        if (written != entry.size) error_box("krr %i %i", written, entry.size);
    }
    std::uint32_t offset = 0;
    for (int i = 0; i < file_table.count; ++i) {
        write_u32(out, offset);
        write_u32(out, static_cast<std::uint32_t>(file_table.entries[i].size));
        offset += static_cast<std::uint32_t>(file_table.entries[i].size);
    }
    write_u32(out, static_cast<std::uint32_t>(file_table.count));
    if (std::fclose(out) != 0) error_box("blob.dat cannot be written completely");
}

}  // namespace

int blob_open() {
    file_table.count = 0;
    file_table.archive_entries = 0;
    file_table.from_disk = !read_from_blob;
    if (read_from_blob) open_archive();
    log_print("io blob system active..\n");
    return 0;
}

int blob_close() {
    if (write_blob) write_archive();
    long long total = 0;
    for (int i = 0; i < file_table.count; ++i) {
        log_print("offset %i |\t size %i bytes\n", static_cast<int>(total), file_table.entries[i].size);
        total += file_table.entries[i].size;
    }
    log_print("io blob system offline..  (%i bytes read in %i files),\n", static_cast<int>(total), file_table.count);
    // In archive mode, entries never handed out are freed too.
    int held = file_table.count > file_table.archive_entries ? file_table.count : file_table.archive_entries;
    for (int i = 0; i < held; ++i) {
        std::free(file_table.entries[i].data);
        file_table.entries[i] = FileData{nullptr, 0};
    }
    file_table.count = 0;
    file_table.archive_entries = 0;
    return 0;
}
