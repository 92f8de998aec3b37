#pragma once
// An exclusive lock on a lock file, held while the object lives. The system releases it when
// the process ends, however it ends, so a killed holder never leaves it taken.
#include <string>

namespace vx {

class FileLock {
public:
    // Creates the lock file when missing and tries for up to waitMs (0: once). Throws
    // kErrPathNotFound when the lock file cannot be created. With a subject, the wait is shown
    // at once as waiting for it (LockWait), and the operator may cancel it.
    FileLock(const std::string& path, int waitMs, const std::string& waitSubject = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const;

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace vx
