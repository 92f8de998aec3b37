#include "convert/WorkingDatabaseLock.h"

#include "base/VxError.h"
#include "config/RuntimeFiles.h"

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
    : m_lock(JoinPath(runtimeFolder, "conversion.lock"), WaitSetting(), "the working databases in " + runtimeFolder)
{
    if (!m_lock.Held())
        FailLocked(runtimeFolder);
}

WorkingDatabaseLock::~WorkingDatabaseLock() = default;

} // namespace vx
