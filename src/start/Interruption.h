#pragma once
// Ending on SIGTERM, SIGINT or SIGHUP without leaving temporary files behind.
#ifndef _WIN32
#include <csignal>
#endif
#include <string>

namespace vx {

// Installs the handlers: the temporary files of this run are removed, one line saying the
// run was interrupted goes to standard error and the log, and the process ends with the
// unexpected-error code (6).
void InstallInterruptHandlers();
// Another ending for a run that is not one conversion (the hot folder): "<what> by SIGTERM."
// and so on as the line, and this exit code.
void SetInterruptEnding(const std::string& what, int exitCode);

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
