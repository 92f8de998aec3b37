#pragma once
// The exit codes of the command-line conversion and of the hot folder it can run.
namespace vx {

enum CommandLineExitCode : int {
    kExitSuccess = 0,
    kExitBadArguments = 1,
    kExitConfiguration = 2,
    kExitInputProblem = 3,
    kExitInvalidRows = 4,
    kExitOutputProblem = 5,
    kExitUnexpected = 6,
};

} // namespace vx
