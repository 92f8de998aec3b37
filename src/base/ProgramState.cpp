#include "base/ProgramState.h"

namespace vx {

ProgramState& State()
{
    static ProgramState state;
    return state;
}

void ResetState() { State() = ProgramState{}; }

int VersionMajor() { return VX_VERSION_MAJOR; }
int VersionMinor() { return VX_VERSION_MINOR; }
int VersionRevision() { return VX_VERSION_PATCH; }

std::string VersionString()
{
    return "V" + std::to_string(VersionMajor()) + "." + std::to_string(VersionMinor()) + "." +
           std::to_string(VersionRevision());
}

} // namespace vx
