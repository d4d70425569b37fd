// A fresh working directory for one test: created, entered, and removed with
// everything in it when the test ends.
#pragma once

#include <string>
#include <vector>

namespace fake {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void write_file(const std::string& path, const std::string& bytes);

// Makes `pool` in the current directory point at a generated pool folder.
void link_pool(const std::string& pool_dir);
std::string read_file(const std::string& path);

}  // namespace fake
