#include "convert/WorkingDatabaseLock.h"

#include "config/RuntimeFiles.h"
#include "config/VxError.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vx {

namespace {
int& WaitSetting()
{
    static int ms = 60000;
    return ms;
}

[[noreturn]] void FailLocked(const std::string& folder)
{
    throw VxError(kErrDatabaseLocked,
                  "Another conversion is using the runtime folder's working databases (" + folder +
                      "). Try again when it has finished.",
                  "WorkingDatabaseLock");
}
} // namespace

int WorkingDatabaseLock::WaitMilliseconds() { return WaitSetting(); }
void WorkingDatabaseLock::SetWaitMilliseconds(int ms) { WaitSetting() = ms; }

WorkingDatabaseLock::WorkingDatabaseLock(const std::string& runtimeFolder)
{
    const std::string path = JoinPath(runtimeFolder, "conversion.lock");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitSetting());
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw VxError(kErrPathNotFound, "Could not create the lock file '" + path + "'.", "WorkingDatabaseLock");
    while (true) {
        OVERLAPPED ov{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov))
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(h);
            FailLocked(runtimeFolder);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_handle = h;
#else
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw VxError(kErrPathNotFound, "Could not create the lock file '" + path + "'.", "WorkingDatabaseLock");
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            FailLocked(runtimeFolder);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_fd = fd;
#endif
}

WorkingDatabaseLock::~WorkingDatabaseLock()
{
#ifdef _WIN32
    if (m_handle) {
        OVERLAPPED ov{};
        UnlockFileEx(static_cast<HANDLE>(m_handle), 0, 1, 0, &ov);
        CloseHandle(static_cast<HANDLE>(m_handle));
    }
#else
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
#endif
}

} // namespace vx
