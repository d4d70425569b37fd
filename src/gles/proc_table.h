// Entry points by name, as a driver's GetProcAddress answers them: the GL
// library's shader-object calls and the WGL emulations' pbuffer calls.
#pragma once

#include <cstddef>
#include <cstring>

struct ProcEntry {
    const char* name;
    void* address;
};

// A table row for the function `name`, under its own name.
#define HEDEN_PROC(name) ProcEntry{#name, reinterpret_cast<void*>(name)}

// The address `table` holds for `name`; null when it holds none.
template <std::size_t N>
void* proc_lookup(const ProcEntry (&table)[N], const char* name) {
    for (const ProcEntry& entry : table)
        if (std::strcmp(entry.name, name) == 0) return entry.address;
    return nullptr;
}
