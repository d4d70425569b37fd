// Console log lines and modal error boxes, used by every subsystem.
#pragma once

#if defined(__GNUC__)
#define HEDEN_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define HEDEN_PRINTF(fmt, args)
#endif

// Longest text either function shows; longer output is cut, not reported.
constexpr int log_max_chars = 255;

// Writes one formatted text to the console (nothing without a console).
// Always returns 0.
int log_print(const char* format, ...) HEDEN_PRINTF(1, 2);

// Shows a formatted text in a modal box captioned "falta del alcalde" and
// returns once the viewer dismisses it. Once boxes go to standard error,
// the text is written there instead, every line after "heden: ", and the
// call returns at once.
void error_box(const char* format, ...) HEDEN_PRINTF(1, 2);

// A fault the demo shows no box for, but that keeps a run's pictures from
// being the demo's (a picture that does not decode is drawn as a checker):
// once boxes go to standard error it is written there as a box is, and
// counted with them; before that nothing is said here.
void error_unattended(const char* format, ...) HEDEN_PRINTF(1, 2);

// On for runs nobody watches (captures and stills): every later box goes
// to standard error and waits for no one. Off: boxes for the viewer.
// Either way the count below starts again from 0.
void error_boxes_to_stderr(bool on);

// How many boxes went to standard error since they were switched there.
int error_boxes_written();
