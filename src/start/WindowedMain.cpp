// The entry of the windowed module (VXCLTWindowed.so): the whole program with its screens,
// started by the executable when it is run without arguments.
#include "screens/WindowedProgram.h"
#include "start/modStart.h"

extern "C" __attribute__((visibility("default"))) int vx_windowed_main(int argc, char** argv)
{
    vx::SetWindowedEntry(&vx::RunWindowedProgram);
    return vx::Main(argc, argv);
}
