#include "app/demo_main.h"

// The one entry point of both builds. MinGW's start-up code calls main in a
// Windows GUI program as well, with the command line already split.
int main(int argc, char** argv) { return demo_main(argc, argv); }
