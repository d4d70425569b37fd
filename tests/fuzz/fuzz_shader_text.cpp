// Shader files of arbitrary bytes through the section splitter: either a
// reason and no lines, or both stages within their limits.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "shader/shader_text.h"

namespace {

void check_stage(const std::vector<std::string>& lines) {
    if (lines.size() > shader_max_lines) std::abort();
    std::size_t text = 0;
    for (const std::string& line : lines) {
        if (line.empty() || line.size() > 255 || line.find('\n') != std::string::npos) std::abort();
        text += line.size() + 1;
    }
    if (text > shader_max_text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text(data, data + size);
    ShaderSources sources = shader_split(text.data(), text.size());
    if (!sources.problem.empty() && (!sources.vertex.empty() || !sources.fragment.empty())) std::abort();
    check_stage(sources.vertex);
    check_stage(sources.fragment);
    return 0;
}
