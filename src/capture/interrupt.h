// Ctrl-C (or a request to terminate) while a capture runs is noted instead of
// ending the program there, so that the frame loop can stop, let the encoder
// go and remove the half-written files.
#pragma once

void capture_interrupt_catch();
bool capture_interrupted();
