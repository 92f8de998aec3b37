#include "base/Interruption.h"

#include "base/ExitCodes.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace vx {

#ifndef _WIN32
namespace {
// Set before the handlers can run with them; read only by the handler.
std::string g_endings[3]; // SIGTERM, SIGINT, SIGHUP; empty: the conversion's lines
volatile sig_atomic_t g_exitCode = kExitUnexpected;
} // namespace

const char* InterruptLine(int signal)
{
    const std::string& ending = g_endings[signal == SIGTERM ? 0 : signal == SIGINT ? 1 : 2];
    if (!ending.empty())
        return ending.c_str();
    switch (signal) {
    case SIGTERM: return "ERROR: Interrupted by SIGTERM; the temporary files were removed.";
    case SIGINT: return "ERROR: Interrupted by SIGINT; the temporary files were removed.";
    default: return "ERROR: Interrupted by SIGHUP; the temporary files were removed.";
    }
}

int InterruptExitCode() { return g_exitCode; }

sigset_t InterruptSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, s);
    return set;
}

void SetInterruptEnding(const std::string& what, int exitCode)
{
    sigset_t set = InterruptSignals();
    sigset_t saved;
    ::pthread_sigmask(SIG_BLOCK, &set, &saved); // no handler reads the lines while they change
    g_endings[0] = what + " by SIGTERM.";
    g_endings[1] = what + " by SIGINT.";
    g_endings[2] = what + " by SIGHUP.";
    g_exitCode = exitCode;
    ::pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

InterruptsBlocked::InterruptsBlocked()
{
    sigset_t set = InterruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &m_saved);
}

InterruptsBlocked::~InterruptsBlocked() { ::pthread_sigmask(SIG_SETMASK, &m_saved, nullptr); }

#else
void SetInterruptEnding(const std::string&, int) {}
InterruptsBlocked::InterruptsBlocked() {}
InterruptsBlocked::~InterruptsBlocked() {}
#endif

} // namespace vx
