#pragma once
// The windowed program: the Qt application, the message-box presenter, the error log
// window and the main menu.
#include <string>

namespace vx {

// Runs the windowed program until its last window closes; without a display it says so on
// standard error and returns 1.
int RunWindowedProgram(int argc, char** argv);

// The main menu's caption: "Veltrax Cutlister V" + major.minor.revision.
std::string MainCaption();

// True when a display (or an explicit Qt platform) is available.
bool HasDisplay();

// The end of the windowed program: saves the extra space-ball and processing settings and
// unloads every window, which ends the program.
void ShutdownProgram();

} // namespace vx
