#pragma once
// Writing a file through a temporary file beside it, renamed over the target at the end:
// a failed write never leaves a half-written file where a good one stood. The replaced
// file keeps its mode and owner, a symbolic link at the target stays and the file it
// points to is replaced, and a new file gets the mode the umask gives.
#include "base/VxError.h"

#include <string>
#include <system_error>

namespace vx {

// A fresh temporary path in the same folder as the file target names (after symbolic
// links, so the final rename is atomic and keeps the link). Removes the temporary files
// of dead processes in that folder and remembers the new one for an interrupted run.
std::string TemporaryPathBeside(const std::string& target);
// Syncs the finished temporary file and its folder, gives it the mode and owner of the
// file it replaces (or the umask's mode for a new file) and renames it over the file
// target names (through a symbolic link).
void ReplaceFileWith(const std::string& temporary, const std::string& target);
// The error number a file-system failure is reported with: permission (70), disk full
// (61), otherwise path not found (76).
int FileErrorNumber(const std::error_code& ec);
// A failure to write the file target, in the operator's words and naming the target (never
// the temporary file beside it): what happened and what to do.
VxError FileWriteError(const std::string& target, const std::error_code& ec, const std::string& source);
// "The file <path> is read-only. Choose another file or make it writable."
std::string ReadOnlyFileText(const std::string& path);
// Removes a temporary file, ignoring errors (cleanup after a failure).
void RemoveQuietly(const std::string& path);

// The file a path names once symbolic links are followed (the path itself when it is
// no link or the link leads nowhere yet).
std::string LinkTarget(const std::string& path);
// True when the program may replace the file: it has a write permission bit set, the
// process may write it and its folder, the file system is not read-only, and the new file
// can be given the old one's owner. Root's override of permission bits does not count: a
// file marked read-only stays read-only.
bool MayReplaceFile(const std::string& path);
// Why the program may not write target (replace the file, or create it in its folder), in
// the operator's words; empty when it may or when the folder is missing (the write reports
// that itself). A folder marked read-only counts as one, as a file does.
std::string ReplaceRefusal(const std::string& target);
// Throws the refusal (permission denied) before anything is written.
void RequireReplaceable(const std::string& target, const std::string& errorSource);

} // namespace vx

namespace vx {
// Forces a finished file's content to disk before it is renamed into place.
void FlushFileToDisk(const std::string& path);
} // namespace vx
