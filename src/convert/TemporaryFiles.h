#pragma once
// The temporary files this process has made and not yet renamed into place or removed,
// so that an interrupted run can remove them, and the removal of temporary files that a
// process killed outright left behind.
#include <string>

namespace vx {

// Remembers a temporary file until it is forgotten (renamed or removed).
void RegisterTemporaryFile(const std::string& path);
void ForgetTemporaryFile(const std::string& path);
// Removes every remembered temporary file. Safe inside a signal handler: no allocation,
// no locks, only unlink().
void RemoveTemporaryFilesNow();

// The name part a temporary file beside target carries: "." + name + ".vxtmp" + pid + "_" + n.
std::string TemporaryFileName(const std::string& targetName, long pid, unsigned serial);
// Removes the temporary files in folder that were made by processes that no longer run
// (a conversion killed with -9 cannot remove its own). Errors are ignored.
void RemoveStaleTemporaryFiles(const std::string& folder);

} // namespace vx
