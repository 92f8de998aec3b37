#include "config/FileLock.h"

#include "base/VxError.h"
#include "config/LockWait.h"

#include <chrono>
#include <optional>
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
// After a failed try: whether to try again, after a pause.
bool TryAgain(std::chrono::steady_clock::time_point deadline, std::optional<LockWait>& shown)
{
    if (shown)
        return shown->tryAgain();
    if (std::chrono::steady_clock::now() >= deadline)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return true;
}
} // namespace

FileLock::FileLock(const std::string& path, int waitMs, const std::string& waitSubject)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    std::optional<LockWait> shown;
    if (!waitSubject.empty())
        shown.emplace(waitSubject, waitMs);
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw VxError(kErrPathNotFound, "Could not create the lock file '" + path + "'.", "FileLock");
    while (true) {
        OVERLAPPED ov{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov))
            break;
        if (!TryAgain(deadline, shown)) {
            CloseHandle(h);
            return;
        }
    }
    m_handle = h;
#else
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw VxError(kErrPathNotFound, "Could not create the lock file '" + path + "'.", "FileLock");
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || !TryAgain(deadline, shown)) {
            ::close(fd);
            return;
        }
    }
    m_fd = fd;
#endif
}

FileLock::~FileLock()
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

bool FileLock::Held() const
{
#ifdef _WIN32
    return m_handle != nullptr;
#else
    return m_fd >= 0;
#endif
}

} // namespace vx
