#pragma once
// The hot folder: every cut list that appears in a folder is converted, one at a time and
// oldest first, by the same conversion as a single file, and then moved to done/ (or, with
// its transcript, to failed/).
namespace vx {

struct CommandLineOptions;

// Watches args.ArgWatchFolder until a signal ends it or, with ArgOnce, until the files there
// at the start are dealt with. Returns the exit code: with ArgOnce 0 when every file was
// converted, 4 when any went to failed/; 2 when the configuration cannot convert (the file
// stays); 3 when the folder cannot be watched; 5 when an output folder is missing.
int RunWatch(const CommandLineOptions& args);

} // namespace vx
