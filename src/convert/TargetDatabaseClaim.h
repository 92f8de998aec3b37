#pragma once
// A parts file is only replaced while no other program is using it: the claim takes an
// exclusive SQLite lock on the existing file (waiting briefly, and visibly, for a program
// that holds one) and keeps it until the file has been replaced, so no other program's
// transaction can end on a file that is gone. A file in use is refused.
#include "config/LockWait.h"

#include <string>

struct sqlite3;

namespace vx {

class TargetDatabaseClaim {
public:
    // Throws kErrDatabaseLocked ("... is in use by another program ...") when the lock
    // cannot be had. A missing file, or one that is no database, needs no claim.
    TargetDatabaseClaim(const std::string& target, const std::string& errorSource);
    ~TargetDatabaseClaim();
    TargetDatabaseClaim(const TargetDatabaseClaim&) = delete;
    TargetDatabaseClaim& operator=(const TargetDatabaseClaim&) = delete;

    // How long a claim waits for another program (2 s; tests shorten it).
    static void SetWaitMilliseconds(int ms);

private:
    sqlite3* m_db = nullptr;
    LockWait m_wait;
};

// Replaces the database file target names with the finished temporary file: refused
// before anything changes when target is read-only or in use by another program (the
// caller removes the temporary file then).
void ReplaceDatabaseFileWith(const std::string& temporary, const std::string& target, const std::string& errorSource);

} // namespace vx
