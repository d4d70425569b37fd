#include <windows.h>

#include "app/demo_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return demo_main(); }
