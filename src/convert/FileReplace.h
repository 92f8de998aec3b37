#pragma once
// Writing a file through a temporary file beside it, renamed over the target at the end:
// a failed write never leaves a half-written file where a good one stood.
#include <string>

namespace vx {

// A fresh temporary path in the same folder as target (same file system, so the final
// rename is atomic).
std::string TemporaryPathBeside(const std::string& target);
// Renames the finished temporary file over the target (replacing it).
void ReplaceFileWith(const std::string& temporary, const std::string& target);
// Removes a temporary file, ignoring errors (cleanup after a failure).
void RemoveQuietly(const std::string& path);

} // namespace vx

namespace vx {
// Forces a finished file's content to disk before it is renamed into place.
void FlushFileToDisk(const std::string& path);
} // namespace vx
