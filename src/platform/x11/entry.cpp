#include "app/demo_main.h"

int main() { return demo_main(); }
