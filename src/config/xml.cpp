#include "config/xml.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

XmlDocument xml_document;
XmlErrors xml_errors;

void xml_error_push(const char* format, ...) {
    int slot = xml_errors.count < xml_max_errors ? xml_errors.count : xml_max_errors - 1;
    va_list args;
    va_start(args, format);
    std::vsnprintf(xml_errors.messages[slot], xml_error_chars, format, args);
    va_end(args);
    xml_errors.count = slot + 1;
}

const char* xml_error_pop() {
    if (xml_errors.count <= 0) return nullptr;
    --xml_errors.count;
    return xml_errors.messages[xml_errors.count];
}

void xml_reset() {
    xml_document.node_count = 0;
    xml_document.pool_length = 0;
    xml_document.current_parent = 0;
}

const char* xml_intern(const char* text) {
    XmlDocument& doc = xml_document;
    std::size_t length = std::strlen(text);
    if (length > 255) length = 255;
    for (int at = 0; at < doc.pool_length;) {
        const char* candidate = doc.pool + at;
        std::size_t candidate_length = std::strlen(candidate);
        if (candidate_length == length && std::memcmp(candidate, text, length) == 0) return candidate;
        at += static_cast<int>(candidate_length) + 1;
    }
    if (doc.pool_length + static_cast<int>(length) + 1 > xml_pool_bytes) return nullptr;
    char* added = doc.pool + doc.pool_length;
    std::memcpy(added, text, length);
    added[length] = '\0';
    doc.pool_length += static_cast<int>(length) + 1;
    return added;
}

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Appends a node whose text is interned; false (with a message) when the
// table or the pool is full.
bool add_node(std::uint8_t kind, std::uint8_t parent, const char* text, int line) {
    XmlDocument& doc = xml_document;
    if (doc.node_count >= xml_max_nodes) {
        xml_error_push("too many xml nodes on line %i\n", line);
        return false;
    }
    const char* interned = xml_intern(text);
    if (!interned) {
        xml_error_push("xml string pool full on line %i\n", line);
        return false;
    }
    doc.nodes[doc.node_count++] = XmlNode{kind, parent, interned};
    return true;
}

// Drops spaces and tabs at both ends, in place.
char* trim(char* segment) {
    while (*segment == ' ' || *segment == '\t') ++segment;
    char* end = segment + std::strlen(segment);
    while (end > segment && (end[-1] == ' ' || end[-1] == '\t')) --end;
    *end = '\0';
    return segment;
}

// Upper-cases the leading run of letters of `text` into `name`; returns the
// number of letters taken.
int read_name(const char* text, char* name) {
    int n = 0;
    while (is_letter(text[n])) {
        name[n] = upper(text[n]);
        ++n;
    }
    name[n] = '\0';
    return n;
}

bool close_tag(const char* tag, int line) {
    XmlDocument& doc = xml_document;
    char name[xml_segment_chars + 1];
    read_name(tag + 1, name);
    const char* interned = xml_intern(name);
    int open = doc.current_parent - 1;
    if (interned && open >= 0 && open < doc.node_count && doc.nodes[open].text == interned) {
        doc.current_parent = doc.nodes[open].parent;
        return true;
    }
    xml_error_push("no opener for </%s> on line %i\n", name, line);
    return false;
}

bool open_tag(char* tag, int line) {
    XmlDocument& doc = xml_document;
    if (doc.node_count > xml_max_element_index) {
        xml_error_push("too many xml elements on line %i\n", line);
        return false;
    }
    char name[xml_segment_chars + 1];
    int length = read_name(tag, name);
    std::uint8_t id = static_cast<std::uint8_t>(doc.node_count + 1);
    if (!add_node(id, doc.current_parent, name, line)) return false;
    doc.current_parent = id;
    if (tag[length] == '\0' || tag[length + 1] == '\0') return true;
    return add_node(xml_kind_attributes, id, tag + length + 1, line);
}

bool handle_tag(char* tag, int line) {
    if (tag[0] == '?' || tag[0] == '!') return true;
    if (tag[0] == '/') return close_tag(tag, line);
    return open_tag(tag, line);
}

}  // namespace

XmlResult xml_tokenize(const char* data, long size) {
    char segment[xml_segment_chars + 1];
    int length = 0;
    int line = 1;
    bool in_double = false, in_single = false;
    for (long i = 0; i < size; ++i) {
        char c = data[i];
        if (c == '\r') continue;
        if (c == '\n') {
            ++line;
            continue;
        }
        bool quoted = in_double || in_single;
        if (c == '"' && !in_single) in_double = !in_double;
        if (c == '\'' && !in_double) in_single = !in_single;
        if ((c == '<' || c == '>') && !quoted) {
            segment[length] = '\0';
            char* trimmed = trim(segment);
            length = 0;
            if (*trimmed == '\0') continue;
            if (c == '<') {
                if (!add_node(xml_kind_text, xml_document.current_parent, trimmed, line)) return xml_malformed;
            } else if (!handle_tag(trimmed, line)) {
                return xml_malformed;
            }
            continue;
        }
        segment[length++] = c;
        if (length == xml_segment_chars) return xml_segment_long;
    }
    return xml_document.current_parent != 0 ? xml_malformed : xml_ok;
}

XmlResult xml_load(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        xml_error_push("FILE `%s` is missing or not readable :(\n", path);
        return xml_unopened;
    }
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    char* data = size > 0 ? static_cast<char*>(std::malloc(static_cast<std::size_t>(size))) : nullptr;
    std::size_t got = data ? std::fread(data, 1, static_cast<std::size_t>(size), file) : 0;
    std::fclose(file);
    if (size < 0 || static_cast<long>(got) != size) {
        std::free(data);
        xml_error_push("fread(..) failure??");
        return xml_malformed;
    }
    XmlResult result = xml_tokenize(data, size);
    std::free(data);
    if (result == xml_ok) return xml_ok;
    xml_error_push("parsing `%s` failed", path);
    return result;
}
