#include "convert/TargetDatabaseClaim.h"

#include "base/VxError.h"
#include "convert/FileReplace.h"

#include <sqlite3.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace vx {

namespace {
int& WaitSetting()
{
    static int ms = 2000;
    return ms;
}
} // namespace

void TargetDatabaseClaim::SetWaitMilliseconds(int ms) { WaitSetting() = ms; }

TargetDatabaseClaim::TargetDatabaseClaim(const std::string& target, const std::string& errorSource)
    : m_wait(target, WaitSetting())
{
    const std::string file = LinkTarget(target);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return;
    if (sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return; // what cannot be opened as a database holds no database lock
    }
    WaitVisiblyWhenBusy(m_db, m_wait);
    // An exclusive lock keeps readers out too: nobody sees the file go from under them.
    int rc = sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    m_wait.finish();
    if (rc == SQLITE_OK)
        return;
    sqlite3_close(m_db);
    m_db = nullptr;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw VxError(kErrDatabaseLocked,
                      "The file " + target + " is in use by another program. Close it there and try again.",
                      errorSource);
}

TargetDatabaseClaim::~TargetDatabaseClaim()
{
    // Ends the transaction, which wrote nothing, on the file that was replaced.
    if (m_db)
        sqlite3_close(m_db);
}

void ReplaceDatabaseFileWith(const std::string& temporary, const std::string& target, const std::string& errorSource)
{
    RequireReplaceable(target, errorSource);
    TargetDatabaseClaim claim(target, errorSource);
    ReplaceFileWith(temporary, target);
}

} // namespace vx
