#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fake {

namespace fs = std::filesystem;

TempDir::TempDir() {
    previous_ = fs::current_path().string();
    std::random_device random;
    fs::path dir = fs::temp_directory_path() / ("heden-test-" + std::to_string(random()));
    fs::create_directories(dir);
    path_ = dir.string();
    fs::current_path(dir);
}

TempDir::~TempDir() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void write_file(const std::string& path, const std::string& bytes) {
    fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void link_pool(const std::string& pool_dir) { fs::create_directory_symlink(pool_dir, "pool"); }

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fake
