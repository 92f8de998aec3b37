#include "convert/FileReplace.h"

#include "config/RuntimeFiles.h"
#include "config/VxError.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define VX_GETPID _getpid
#else
#include <unistd.h>
#define VX_GETPID getpid
#endif

namespace fs = std::filesystem;

namespace vx {

std::string TemporaryPathBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    fs::path t(target);
    std::string name =
        "." + t.filename().string() + ".vxtmp" + std::to_string(VX_GETPID()) + "_" + std::to_string(counter++);
    return (t.parent_path() / name).string();
}

void ReplaceFileWith(const std::string& temporary, const std::string& target)
{
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        RemoveQuietly(temporary);
        throw VxError(FileErrorNumber(ec), "Could not replace '" + target + "' (" + ec.message() + ").", "FileReplace");
    }
}

int FileErrorNumber(const std::error_code& ec)
{
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system)
        return kErrPermissionDenied;
    if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large)
        return kErrDiskFull;
    return kErrPathNotFound;
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

} // namespace vx

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace vx {
void FlushFileToDisk(const std::string& path)
{
#ifndef _WIN32
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    int rc = ::fsync(fd);
    ::close(fd);
    if (rc != 0)
        throw VxError(kErrDiskFull, "Could not write '" + path + "' to disk.", "FileReplace");
#else
    (void)path;
#endif
}
} // namespace vx
