// VXCLT: the windowed program, or with arguments the command-line conversion.
#include "start/modStart.h"
#ifdef VX_HAVE_SCREENS
#include "screens/WindowedProgram.h"
#endif

int main(int argc, char** argv)
{
#ifdef VX_HAVE_SCREENS
    vx::SetWindowedEntry(&vx::RunWindowedProgram);
#endif
    return vx::Main(argc, argv);
}
