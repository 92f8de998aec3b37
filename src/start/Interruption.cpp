#include "start/Interruption.h"

#include "convert/TemporaryFiles.h"
#include "start/Messages.h"
#include "start/modCLTCommandLine.h"

#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>
#endif

namespace vx {

#ifndef _WIN32
namespace {
// Set before the handlers can run with them; read only by the handler.
std::string g_endings[3]; // SIGTERM, SIGINT, SIGHUP; empty: the conversion's lines
volatile sig_atomic_t g_exitCode = kExitUnexpected;

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

void WriteAll(int fd, const char* text, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, text, size);
        if (n <= 0)
            return;
        text += n;
        size -= static_cast<size_t>(n);
    }
}

// Only async-signal-safe calls: unlink, open, write, close, _exit.
void OnInterrupt(int signal)
{
    RemoveTemporaryFilesNow();
    const char* line = InterruptLine(signal);
    WriteAll(STDERR_FILENO, line, std::strlen(line));
    WriteAll(STDERR_FILENO, "\n", 1);
    const char* log = LogPath().c_str();
    if (*log) {
        int fd = ::open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd >= 0) {
            WriteAll(fd, line, std::strlen(line));
            WriteAll(fd, "\r\n", 2);
            ::close(fd);
        }
    }
    ::_exit(g_exitCode);
}

sigset_t InterruptSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, s);
    return set;
}
} // namespace

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

void InstallInterruptHandlers()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_mask = InterruptSignals(); // one handler at a time
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &action, nullptr);
}

InterruptsBlocked::InterruptsBlocked()
{
    sigset_t set = InterruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &m_saved);
}

InterruptsBlocked::~InterruptsBlocked() { ::pthread_sigmask(SIG_SETMASK, &m_saved, nullptr); }

#else
void InstallInterruptHandlers() {}
void SetInterruptEnding(const std::string&, int) {}
InterruptsBlocked::InterruptsBlocked() {}
InterruptsBlocked::~InterruptsBlocked() {}
#endif

} // namespace vx
