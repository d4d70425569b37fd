// The pictures of pool/: every PNG texture and the two PCX icons.
#pragma once

#include <string>
#include <vector>

#include "tasks.h"

// Adds one task per file (or small group of files) written under `pool`;
// each is false when its file could not be written.
void add_picture_tasks(const std::string& pool, std::vector<Task>& tasks);
