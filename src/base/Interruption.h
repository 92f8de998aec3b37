#pragma once
// Ending on SIGTERM, SIGINT or SIGHUP without leaving temporary files behind: the guard that
// keeps the signals on the thread owning the files, and the line and exit code such an
// ending reports. The handlers themselves are installed at start-up (InterruptHandlers).
#ifndef _WIN32
#include <csignal>
#endif
#include <string>

namespace vx {

// Another ending for a run that is not one conversion (the hot folder): "<what> by SIGTERM."
// and so on as the line, and this exit code.
void SetInterruptEnding(const std::string& what, int exitCode);

#ifndef _WIN32
// SIGTERM, SIGINT and SIGHUP.
sigset_t InterruptSignals();
// The line an ending by the signal writes (the conversion's unless SetInterruptEnding gave
// another) and its exit code; both only read, so a signal handler may call them.
const char* InterruptLine(int signal);
int InterruptExitCode();
#endif

// Keeps the three signals away from the calling thread while it lives; a thread started
// meanwhile inherits that, so the handler always runs on the thread that owns the files.
class InterruptsBlocked {
public:
    InterruptsBlocked();
    ~InterruptsBlocked();
    InterruptsBlocked(const InterruptsBlocked&) = delete;
    InterruptsBlocked& operator=(const InterruptsBlocked&) = delete;

#ifndef _WIN32
private:
    sigset_t m_saved; // the mask before
#endif
};

} // namespace vx
