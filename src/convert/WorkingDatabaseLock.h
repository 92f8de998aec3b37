#pragma once
// An exclusive lock on the runtime folder's working databases, held by one conversion
// from reading to writing, so conversions against one configuration run one after the
// other: their rows, learned part names and materials never interleave. A second
// conversion waits for the lock, bounded, and then fails with kErrDatabaseLocked.
#include "config/FileLock.h"

#include <string>

namespace vx {

class WorkingDatabaseLock {
public:
    // Waits up to WaitMilliseconds() for the lock file "<runtimeFolder>/conversion.lock".
    explicit WorkingDatabaseLock(const std::string& runtimeFolder);
    ~WorkingDatabaseLock();
    WorkingDatabaseLock(const WorkingDatabaseLock&) = delete;
    WorkingDatabaseLock& operator=(const WorkingDatabaseLock&) = delete;

    // How long a conversion waits for another one to finish (60 s; tests shorten it).
    static int WaitMilliseconds();
    static void SetWaitMilliseconds(int ms);

private:
    FileLock m_lock;
};

} // namespace vx
