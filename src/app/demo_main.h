// The program's life on one thread: start-up, main loop, shut-down.
#pragma once

// Returns the process exit code, always 0.
int demo_main();

// Pumps messages and renders frames until WM_QUIT is taken from the queue.
void main_loop();

// The settings summary, five log lines.
void print_settings();
