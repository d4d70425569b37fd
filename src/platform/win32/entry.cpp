#include <windows.h>

#include <cstdlib>

#include "app/demo_main.h"

// The C runtime has already split the command line into __argc / __argv.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return demo_main(__argc, __argv); }
