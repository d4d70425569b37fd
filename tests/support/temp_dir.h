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
std::string read_file(const std::string& path);

}  // namespace fake
