#include "convert/FileReplace.h"

#include "base/VxError.h"
#include "convert/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define VX_GETPID _getpid
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define VX_GETPID getpid
#endif

namespace fs = std::filesystem;

namespace vx {

namespace {
#ifndef _WIN32
// The process's umask, read without changing it (other threads may be creating files).
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Only root may give a file to another user, and others only to a group of their own: a
// file that could not keep its owner is not replaced.
bool MayGiveOwnerOf(const struct stat& st)
{
    if (::geteuid() == 0)
        return true;
    if (st.st_uid != ::geteuid())
        return false;
    if (st.st_gid == ::getegid())
        return true;
    std::vector<gid_t> groups(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), st.st_gid) != groups.end();
}

// Syncs a folder, so a file created or renamed in it survives a power loss.
void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The replaced file's mode and owner, or the mode a new file gets.
void GiveAttributesOf(const std::string& temporary, const std::string& replaced)
{
    struct stat st {};
    if (::stat(replaced.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        // Ownership first: changing it clears set-id bits, which the mode then restores.
        // Only root may give a file away; others keep their own.
        if (::chown(temporary.c_str(), st.st_uid, st.st_gid) != 0)
            (void)!::chown(temporary.c_str(), static_cast<uid_t>(-1), st.st_gid);
        ::chmod(temporary.c_str(), st.st_mode & 07777);
    } else {
        ::chmod(temporary.c_str(), 0666 & ~CurrentUmask());
    }
}
#endif
} // namespace

std::string LinkTarget(const std::string& path)
{
    fs::path p(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        fs::path next = fs::read_symlink(p, ec);
        if (ec)
            break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return p.string();
}

bool MayReplaceFile(const std::string& path)
{
#ifndef _WIN32
    std::string file = LinkTarget(path);
    std::string folder = fs::path(file).parent_path().string();
    if (folder.empty())
        folder = ".";
    struct stat st {
    }, dir{};
    if (::stat(file.c_str(), &st) != 0 || ::stat(folder.c_str(), &dir) != 0)
        return false;
    return (st.st_mode & 0222) != 0 && (dir.st_mode & 0222) != 0 && ::access(file.c_str(), W_OK) == 0 &&
           ::access(folder.c_str(), W_OK | X_OK) == 0 && MayGiveOwnerOf(st);
#else
    std::error_code ec;
    return (fs::status(path, ec).permissions() & fs::perms::owner_write) != fs::perms::none;
#endif
}

std::string ReplaceRefusal(const std::string& target)
{
#ifndef _WIN32
    const std::string file = LinkTarget(target);
    std::string folder = fs::path(file).parent_path().string();
    struct stat st {
    }, dir{};
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0)
        return {};
    const bool exists = ::stat(file.c_str(), &st) == 0;
    if (exists && S_ISREG(st.st_mode) && ((st.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0))
        return ReadOnlyFileText(target);
    if ((dir.st_mode & 0222) == 0 || ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0)
        return "The folder " + (folder.empty() ? std::string(".") : folder) +
               " is read-only. Choose another folder or make it writable.";
    if (exists && S_ISREG(st.st_mode) && !MayGiveOwnerOf(st))
        return "The file " + target + " belongs to another user, so it can not be replaced. Choose another file.";
#else
    if (fs::exists(target) && !MayReplaceFile(target))
        return ReadOnlyFileText(target);
#endif
    return {};
}

void RequireReplaceable(const std::string& target, const std::string& errorSource)
{
    std::string refusal = ReplaceRefusal(target);
    if (!refusal.empty())
        throw VxError(kErrPermissionDenied, refusal, errorSource);
}

std::string TemporaryPathBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    fs::path t(LinkTarget(target));
    RemoveStaleTemporaryFiles(t.parent_path().string());
    std::string path =
        (t.parent_path() / TemporaryFileName(t.filename().string(), static_cast<long>(VX_GETPID()), counter++))
            .string();
    RegisterTemporaryFile(path);
    return path;
}

void ReplaceFileWith(const std::string& temporary, const std::string& target)
{
    const std::string file = LinkTarget(target);
    const std::string folder = fs::path(file).parent_path().string();
    try {
#ifndef _WIN32
        GiveAttributesOf(temporary, file);
#endif
        FlushFileToDisk(temporary);
#ifndef _WIN32
        SyncFolder(folder);
#endif
    } catch (...) {
        RemoveQuietly(temporary);
        throw;
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) {
        RemoveQuietly(temporary);
        throw VxError(FileErrorNumber(ec), "Could not replace '" + target + "' (" + ec.message() + ").", "FileReplace");
    }
    ForgetTemporaryFile(temporary);
#ifndef _WIN32
    SyncFolder(folder);
#endif
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

VxError FileWriteError(const std::string& target, const std::error_code& ec, const std::string& source)
{
    const int number = FileErrorNumber(ec);
    const std::string folder = fs::path(target).parent_path().string();
    std::string text;
    if (number == kErrDiskFull)
        text = "There is no room on the disk for " + target + ". Free some space or choose another folder.";
    else if (number == kErrPermissionDenied)
        text = "The folder " + folder + " can not be written to (" + ec.message() +
               "). Choose another folder or make it writable.";
    else if (ec == std::errc::no_such_file_or_directory)
        text = "The folder " + folder + " does not exist. Choose another folder.";
    else
        text = target + " could not be written (" + ec.message() + "). Choose another file or folder.";
    return VxError(number, text, source);
}

std::string ReadOnlyFileText(const std::string& path)
{
    return "The file " + path + " is read-only. Choose another file or make it writable.";
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
    ForgetTemporaryFile(path);
}

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
