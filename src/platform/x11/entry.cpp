#include "app/demo_main.h"

int main(int argc, char** argv) { return demo_main(argc, argv); }
