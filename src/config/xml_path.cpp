#include "config/xml_path.h"

#include <cstring>

#include "config/xml.h"

int xml_find_child(std::uint8_t parent, const char* name, int n) {
    for (int i = 0; i < xml_document.node_count; ++i) {
        const XmlNode& node = xml_document.nodes[i];
        if (node.parent == parent && std::strcmp(node.text, name) == 0 && n-- == 0) return i;
    }
    return -1;
}

namespace {

constexpr int path_max_chars = 255;

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One step of a path: an upper-cased name and the sibling index.
struct Step {
    char name[path_max_chars + 1];
    int index;
};

// Reads the step starting at `at`; returns the position after it.
int read_step(const char* path, int end, int at, Step* step) {
    int n = 0;
    for (; at < end && is_letter(path[at]); ++at)
        step->name[n++] = path[at] >= 'a' ? static_cast<char>(path[at] - 'a' + 'A') : path[at];
    step->name[n] = '\0';
    step->index = 0;
    if (at >= end) return at;
    if (path[at] == '>') return at + 1;
    ++at;
    while (at < end && !is_digit(path[at])) ++at;
    if (at >= end) return at;
    // Saturates instead of overflowing: no document has that many siblings.
    for (; at < end && is_digit(path[at]); ++at)
        if (step->index < 100000000) step->index = step->index * 10 + (path[at] - '0');
    while (at < end && path[at] != '>') ++at;
    return at < end ? at + 1 : at;
}

// Walks the path; returns the final element id, or -1 when a step is missing
// (with the missing step left in `step`).
int walk(const char* path, Step* step) {
    int end = 0;
    while (end < path_max_chars && path[end] != '\0') ++end;
    std::uint8_t parent = 0;
    for (int at = 0; at < end;) {
        at = read_step(path, end, at, step);
        int found = xml_find_child(parent, step->name, step->index);
        if (found < 0) return -1;
        parent = xml_document.nodes[found].kind;
    }
    return parent;
}

}  // namespace

int xml_exists(const char* path) {
    Step step;
    return walk(path, &step) >= 0 ? 1 : 0;
}

const char* xml_value(const char* path) {
    Step step;
    int id = walk(path, &step);
    if (id < 0) {
        xml_error_push("node `%s[%i]` not found", step.name, step.index);
        return nullptr;
    }
    for (int i = 0; i < xml_document.node_count; ++i) {
        const XmlNode& node = xml_document.nodes[i];
        if (node.parent == id && node.kind == xml_kind_text) return node.text;
    }
    xml_error_push("no id255 found for parent %i ", id);
    return nullptr;
}
