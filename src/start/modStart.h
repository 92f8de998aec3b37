#pragma once
// The entry procedure: prepares the runtime files, then runs the command-line conversion
// when any non-blank argument is given, else the windowed program.
namespace vx {

using WindowedEntry = int (*)(int argc, char** argv);
// The windowed program lives in the screens library; the executable installs it here.
void SetWindowedEntry(WindowedEntry entry);

int Main(int argc, char** argv);

// True when the arguments, joined, hold anything but blanks.
bool HasCommandLine(int argc, char** argv);

} // namespace vx
