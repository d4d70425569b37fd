// The program's life on one thread: start-up, main loop, shut-down.
#pragma once

// Takes the command line as main() gets it. Without options: the demo, exit
// code 0, or 1 when no window could be made. With options: a capture (see app/options.h), exit code 0
// when it was written, 1 when it failed, 2 for a bad command line.
int demo_main(int argc, char** argv);

// Handles what is waiting in the queue; false once WM_QUIT is taken from it,
// with whatever came after it left there.
bool pump_messages();

// The settings summary, five log lines.
void print_settings();
