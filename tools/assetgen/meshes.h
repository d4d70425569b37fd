// The meshes of pool/: the title, the canyon and the dolphin.
#pragma once

#include <string>

bool write_meshes(const std::string& pool);
