// Path queries over the node table, e.g. "config>window>width" or
// "config<1>window" (the second CONFIG element at document level).
#pragma once

#include <cstdint>

// Table index of the n-th node (from 0) with that parent and that interned
// text, compared by bytes; -1 when there are not that many.
int xml_find_child(std::uint8_t parent, const char* name, int n);

// 1 when every step of the path is found, else 0. Pushes no message.
int xml_exists(const char* path);

// The first text run inside the addressed element (owned by the pool), or
// nullptr with one message pushed on xml_errors.
const char* xml_value(const char* path);
