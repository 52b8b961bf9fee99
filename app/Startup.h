#pragma once
// The program from its entry to its end: the single-instance test and the
// hand-over, the application object, the main window and the event loop.

namespace ostrel {

int RunProgram(int argc, char** argv);

}  // namespace ostrel
