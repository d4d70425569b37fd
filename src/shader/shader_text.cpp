#include "shader/shader_text.h"

namespace {

enum class Section { none, vertex, fragment, common };

bool blank(char c) { return c == ' ' || c == '\t'; }

bool add_line(std::vector<std::string>& lines, std::size_t& text, const std::string& line, const char* stage,
              std::string& problem) {
    if (lines.size() == shader_max_lines) {
        problem = std::string("more than 128 ") + stage + " lines";
        return false;
    }
    text += line.size() + 1;
    if (text > shader_max_text) {
        problem = std::string("more than 32768 bytes of ") + stage + " text";
        return false;
    }
    lines.push_back(line);
    return true;
}

struct Splitter {
    ShaderSources out;
    Section section = Section::none;
    std::size_t vertex_text = 0, fragment_text = 0;

    bool take(const std::string& raw) {
        if (raw.size() > shader_max_raw_line) {
            out.problem = "a line of 1024 characters or more";
            return false;
        }
        std::string line = line_trim(raw);
        if (line == ".fragment") section = Section::fragment;
        else if (line == ".vertex") section = Section::vertex;
        else if (line == ".common") section = Section::common;
        else if (line.empty() || (line.size() >= 2 && line.compare(0, 2, "//") == 0)) return true;
        else return place(line);
        return true;
    }

    bool place(const std::string& line) {
        if (section == Section::none) {
            out.problem = "source text before the first section marker";
            return false;
        }
        if ((section == Section::vertex || section == Section::common) &&
            !add_line(out.vertex, vertex_text, line, "vertex", out.problem))
            return false;
        if ((section == Section::fragment || section == Section::common) &&
            !add_line(out.fragment, fragment_text, line, "fragment", out.problem))
            return false;
        return true;
    }
};

}  // namespace

std::string line_trim(const std::string& raw) {
    std::string line = raw.substr(0, 255);
    std::size_t end = line.size();
    while (end > 0 && blank(line[end - 1])) --end;
    std::size_t start = 0;
    while (start < end && blank(line[start])) ++start;
    return line.substr(start, end - start);
}

ShaderSources shader_split(const char* text, std::size_t size) {
    Splitter splitter;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
            continue;
        }
        if (!splitter.take(line)) {
            splitter.out.vertex.clear();
            splitter.out.fragment.clear();
            return splitter.out;
        }
        line.clear();
    }
    return splitter.out;
}
