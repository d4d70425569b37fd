#include "capture/file_out.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {

// A progress line (one that starts with a carriage return) is open until
// the next message, which starts on a line of its own.
bool progress_open = false;

}  // namespace

void capture_message(const char* format, ...) {
    bool progress = format[0] == '\r';
    if (progress_open && !progress && format[0] != '\n') std::fputc('\n', stderr);
    progress_open = progress;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fflush(stderr);
}

namespace {

bool writable_file(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r+b");  // fails on folders
    if (f) std::fclose(f);
    return f != nullptr;
}

}  // namespace

std::string file_part_name(const std::string& path, const char* kind) {
    // The process's id keeps two runs writing the same file out of each
    // other's way.
    return path + "." + std::to_string(platform::process_id()) + kind + ".part";
}

bool file_commit(const std::string& part, const std::string& path) {
    if (std::rename(part.c_str(), path.c_str()) == 0) return true;
    int why = errno;
    // Windows will not rename onto an existing file: an older capture is
    // replaced, but nothing that is not a file we could overwrite anyway.
    if ((why == EEXIST || why == EACCES) && writable_file(path)) {
        std::remove(path.c_str());
        if (std::rename(part.c_str(), path.c_str()) == 0) return true;
        why = errno;
    }
    capture_message("heden: cannot rename `%s` to `%s`: %s\n", part.c_str(), path.c_str(), std::strerror(why));
    std::remove(part.c_str());
    return false;
}

bool file_can_create(const std::string& path) {
    std::string part = file_part_name(path);
    std::FILE* f = std::fopen(part.c_str(), "wb");
    // A full disk takes an empty file: it shows itself on the first block.
    static const char first_block[65536] = {};
    bool written = f && std::fwrite(first_block, 1, sizeof first_block, f) == sizeof first_block;
    int why = errno;
    if (f && std::fclose(f) != 0 && written) {
        written = false;
        why = errno;
    }
    if (f) std::remove(part.c_str());
    if (!written) capture_message("heden: cannot write `%s`: %s\n", path.c_str(), std::strerror(why));
    return written;
}

bool file_write_whole(const char* path, const void* data, std::size_t size) {
    std::string part = file_part_name(path);
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (!f) {
        capture_message("heden: cannot write `%s`: %s\n", path, std::strerror(errno));
        return false;
    }
    bool written = std::fwrite(data, 1, size, f) == size;
    int saved = errno;
    bool closed = std::fclose(f) == 0;
    if (!closed && written) saved = errno;
    if (!written || !closed) {
        capture_message("heden: writing `%s` failed: %s\n", path, std::strerror(saved));
        std::remove(part.c_str());
        return false;
    }
    return file_commit(part, path);
}
