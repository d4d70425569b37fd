// The segments of one capture, rendered by separate processes, joined into
// its video: the pictures as the container takes them (an .mkv copies the
// lossless segments, an .mp4 is encoded once from them), the sound encoded
// once over the whole length, as a single capture encodes it.
#pragma once

#include <string>
#include <vector>

// Joins the lossless .mkv `segments`, in order, into `path`. False, with a
// message, when it fails; nothing is left under `path` then.
bool segments_join(const std::string& path, const std::vector<std::string>& segments);
