// VXCLT: the windowed program, or with arguments the command-line conversion.
#include "start/modStart.h"
#if defined(VX_WINDOWED_MODULE)
#include "start/LoadWindowedModule.h"
#elif defined(VX_HAVE_SCREENS)
#include "screens/WindowedProgram.h"
#endif

int main(int argc, char** argv)
{
#if defined(VX_WINDOWED_MODULE)
    // The windowed program is a module of its own, loaded only when it runs.
    if (!vx::HasCommandLine(argc, argv))
        return vx::RunWindowedModule(VX_WINDOWED_MODULE, argc, argv);
#elif defined(VX_HAVE_SCREENS)
    vx::SetWindowedEntry(&vx::RunWindowedProgram);
#endif
    return vx::Main(argc, argv);
}
