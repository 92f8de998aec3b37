#include "config/FileLock.h"

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

FileLock::FileLock(const std::string& path, int waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw VxError(kErrPathNotFound, "Could not create the lock file '" + path + "'.", "FileLock");
    while (true) {
        OVERLAPPED ov{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov))
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(h);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_handle = h;
#else
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw VxError(kErrPathNotFound, "Could not create the lock file '" + path + "'.", "FileLock");
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
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
