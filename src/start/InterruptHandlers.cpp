#include "start/InterruptHandlers.h"

#include "base/Interruption.h"
#include "base/Messages.h"
#include "convert/TemporaryFiles.h"

#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vx {

#ifndef _WIN32
namespace {
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
    ::_exit(InterruptExitCode());
}
} // namespace

void InstallInterruptHandlers()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_mask = InterruptSignals(); // one handler at a time
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &action, nullptr);
}

#else
void InstallInterruptHandlers() {}
#endif

} // namespace vx
