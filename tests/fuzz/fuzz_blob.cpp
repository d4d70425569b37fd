// blob.dat files of arbitrary bytes: the table and every entry handed out
// stay inside what was read, and the program falls back to the disk when the
// table does not describe the file.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "data/file_table.h"
#include "scratch_dir.h"

namespace {

// Reads every byte of an entry, so that the sanitizer sees any entry that
// claims more than its buffer.
std::uint32_t touch(const FileData& file) {
    std::uint32_t sum = 0;
    for (std::int32_t i = 0; i < file.size; ++i) sum += file.data[i];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int home = open(".", O_RDONLY | O_DIRECTORY);
    write_whole(scratch_dir() + "/blob.dat", data, size);
    if (home < 0 || chdir(scratch_dir().c_str()) != 0) std::abort();
    blob_open();
    if (fchdir(home) != 0) std::abort();
    if (!file_table.from_disk) {
        if (file_table.archive_entries < 0 || file_table.archive_entries > file_table_capacity) std::abort();
        std::int64_t total = 0;
        for (int i = 0; i < file_table.archive_entries; ++i) {
            FileData file{nullptr, -1};
            if (load_file("pool/entry", &file) != 0 || file.size < 0 || (file.size > 0 && !file.data)) std::abort();
            total += file.size;
            touch(file);
        }
        // The entries and the table are all inside the file.
        if (total + 8 + 8 * std::int64_t{file_table.archive_entries} > static_cast<std::int64_t>(size)) std::abort();
        FileData none{nullptr, -1};
        if (load_file("pool/one_too_many", &none) != -1 || none.size != 0) std::abort();
    }
    blob_close();
    return 0;
}
