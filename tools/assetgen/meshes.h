// The meshes of pool/: the title, the canyon and the dolphin.
#pragma once

#include <string>
#include <vector>

#include "tasks.h"

// Adds a task for each of them, written under `pool`.
void add_mesh_tasks(const std::string& pool, std::vector<Task>& tasks);
