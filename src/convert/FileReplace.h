#pragma once
// Writing a file through a temporary file beside it, renamed over the target at the end:
// a failed write never leaves a half-written file where a good one stood.
#include <string>
#include <system_error>

namespace vx {

// A fresh temporary path in the same folder as target (same file system, so the final
// rename is atomic).
std::string TemporaryPathBeside(const std::string& target);
// Renames the finished temporary file over the target (replacing it).
void ReplaceFileWith(const std::string& temporary, const std::string& target);
// The error number a file-system failure is reported with: permission (70), disk full
// (61), otherwise path not found (76).
int FileErrorNumber(const std::error_code& ec);
// Removes a temporary file, ignoring errors (cleanup after a failure).
void RemoveQuietly(const std::string& path);

} // namespace vx

namespace vx {
// Forces a finished file's content to disk before it is renamed into place.
void FlushFileToDisk(const std::string& path);
} // namespace vx
