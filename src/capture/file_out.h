// Files the capture writes: messages on stderr, and whole files that appear
// under their name only once complete.
#pragma once

#include <cstddef>
#include <string>

#include "log/log.h"  // HEDEN_PRINTF

// Prints to stderr, where the capture reports (the demo's log may be off).
// A format that starts with '\r' is a progress line: the next other message
// starts on a new line.
void capture_message(const char* format, ...) HEDEN_PRINTF(1, 2);

// The name a file is written under until it is complete, this run's own:
// `path`.PID`kind`.part (`kind` ".wav" for the sound beside a video, say).
std::string file_part_name(const std::string& path, const char* kind = "");

// Writes `size` bytes to `path`.part, then renames it to `path`. False, with
// a message, when any step fails; nothing is left under either name then.
bool file_write_whole(const char* path, const void* data, std::size_t size);

// Whether a file can be created at `path`, with room for a first block:
// tried with its temporary name, which is removed again. False, with a
// message, when not (a missing folder, a read-only or full disk).
bool file_can_create(const std::string& path);

// Moves a completed `part` file to `path`, replacing what was there.
bool file_commit(const std::string& part, const std::string& path);
