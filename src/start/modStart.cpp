#include "start/modStart.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "start/InterruptHandlers.h"
#include "start/modCLTCommandLine.h"

namespace vx {

namespace {
WindowedEntry& Windowed()
{
    static WindowedEntry entry = nullptr;
    return entry;
}
} // namespace

void SetWindowedEntry(WindowedEntry entry) { Windowed() = entry; }

bool HasCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (!TrimBlanks(argv[i]).empty())
            return true;
    return false;
}

int Main(int argc, char** argv)
{
    State().UserFieldCount = 20;
    SetUpRuntimeFiles();
    InstallInterruptHandlers();
    if (HasCommandLine(argc, argv))
        return RunCommandLine(argc, argv);
    if (!Windowed()) {
        WriteStdErr("The windowed program is not part of this build; run VXCLT with arguments (VXCLT /help).");
        return 1;
    }
    return Windowed()(argc, argv);
}

} // namespace vx
