#include "app/Startup.h"

int main(int argc, char** argv) { return ostrel::RunProgram(argc, argv); }
