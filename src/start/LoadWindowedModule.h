#pragma once
// Starting the windowed program from its module beside the executable.
namespace vx {

// Loads the module of that file name from the program's folder and runs its entry (the whole
// program, screens included) with these arguments; its exit code. A module that cannot be
// loaded is reported on the error output, exit code 1.
int RunWindowedModule(const char* moduleName, int argc, char** argv);

} // namespace vx
