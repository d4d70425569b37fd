// A small reader for config.xml: every element, text run and raw attribute
// text becomes a node in one fixed table; strings live in one fixed pool.
#pragma once

#include <cstdint>

constexpr int xml_max_nodes = 512;
constexpr int xml_pool_bytes = 2048;
constexpr int xml_max_errors = 16;
constexpr int xml_error_chars = 64;  // per message, terminator included
constexpr int xml_segment_chars = 255;

// Node kinds other than element ids.
constexpr std::uint8_t xml_kind_attributes = 254;
constexpr std::uint8_t xml_kind_text = 255;
// Element ids are the table index + 1 in 8 bits; 254 and 255 are taken by
// the kinds above, so elements may only sit at indices 0..252.
constexpr int xml_max_element_index = 252;

struct XmlNode {
    std::uint8_t kind;    // element id, xml_kind_attributes or xml_kind_text
    std::uint8_t parent;  // id of the enclosing element, 0 at document level
    const char* text;     // interned: upper-cased name, attributes or text
};

struct XmlDocument {
    XmlNode nodes[xml_max_nodes];
    int node_count;
    char pool[xml_pool_bytes];
    int pool_length;
    std::uint8_t current_parent;
};

struct XmlErrors {
    char messages[xml_max_errors][xml_error_chars];
    int count;
};

extern XmlDocument xml_document;
extern XmlErrors xml_errors;

enum XmlResult : int {
    xml_ok = 0,
    xml_unopened = -1,     // the file cannot be opened
    xml_malformed = 1,     // short read, or not well formed
    xml_segment_long = 2,  // a segment of 255 characters or more
};

// Reads and scans a document. Failures leave messages on xml_errors; nodes
// added before a failure stay.
XmlResult xml_load(const char* path);

// Scans a document held in memory, with the scanner's results of xml_load.
XmlResult xml_tokenize(const char* data, long size);

// Empties the node table and the pool. Pool bytes are kept, so strings handed
// out before stay readable.
void xml_reset();

// Interns a string of at most 255 characters; nullptr when the pool is full.
const char* xml_intern(const char* text);

// Pushes a formatted message (cut to 63 characters). When all slots are
// taken, the newest message replaces the top one.
void xml_error_push(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// Pops the newest message; nullptr when there is none.
const char* xml_error_pop();
