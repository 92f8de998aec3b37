#pragma once
// The command-line conversion: argument parsing, usage text, the conversion driver and
// its exit codes (0 success .. 6 unexpected error).
#include <string>
#include <vector>

namespace vx {

// Parses the arguments (argv[1..]), runs help or one conversion and returns the exit code.
// The caller (Main) ends the process with it.
int RunCommandLine(int argc, char** argv);

} // namespace vx
