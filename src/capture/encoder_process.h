// The encoder runs as a child process that reads frames from a pipe on its
// standard input. Its own output goes to our stdout, its errors to a file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"

using EncoderProcess = platform::ChildProcess;

// False on a build that cannot start and feed another program; the
// message says so.
bool encoder_process_supported();
extern const char* const encoder_process_unsupported;

// Starts `args[0]`, found on the PATH, with `args`, its standard error going
// to `error_file`. False, with a message, when it cannot be started (for
// example, not installed).
bool encoder_process_start(const std::vector<std::string>& args, const std::string& error_file,
                           EncoderProcess* process);

// Writes all of `data`; false when the process no longer reads (it
// stopped) or the pipe fails.
bool encoder_process_write(EncoderProcess* process, const void* data, std::size_t size);

// Closes its input and waits for it: its exit code, or -1 when it did not
// exit normally.
int encoder_process_finish(EncoderProcess* process);
