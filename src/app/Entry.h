#pragma once

namespace zanthe {

// Program start: the application object, the look, the main window, the loop.
int runProgram(int argc, char** argv);

} // namespace zanthe
