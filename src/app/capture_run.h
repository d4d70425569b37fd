// The program's run when the command line asks for a capture: instead of
// the main loop, a fixed run of frames on the frame clock, read back and
// written out.
#pragma once

#include "capture/capture_plan.h"

// Loads the soundtrack from `music_path` (at its usual place in the load
// order), renders the planned frames and writes the video and stills.
// Returns the exit code: 0 when everything was written, 2 when the request
// does not fit the demo, 1 on any other failure.
int capture_run(const CaptureRequest& request, const char* music_path);
