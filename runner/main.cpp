// main.cpp: the runner's program entry.
#include "runner/runner_form.h"

int main(int argc, char** argv) { return Runner_Main(argc, argv); }
