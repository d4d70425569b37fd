// The command line. Without options the demo plays; the options ask for a
// capture instead (a video, stills, or both).
#pragma once

#include "capture/capture_plan.h"

// `join`: --join, whose segments are in `request.joined`.
enum class OptionsResult { run, help, bad, join };

// Fills `request` from the arguments after the program name. `bad` comes
// with a message on stderr; `help` after the usage was printed.
OptionsResult options_parse(int argc, char** argv, CaptureRequest* request);
