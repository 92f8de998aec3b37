#include "hotfolder/FileMoves.h"

#include "base/VxError.h"
#include "convert/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace vx {

namespace {
[[noreturn]] void FailMove(const std::string& from, const std::string& to, int error)
{
    std::error_code ec(error, std::generic_category());
    throw VxError(FileErrorNumber(ec), "Could not move '" + from + "' to '" + to + "' (" + ec.message() + ").",
                  "FileMoves");
}

constexpr int kMostNumbers = 100000; // a folder with more of one name is not a place to move into
} // namespace

std::string NumberedName(const std::string& name, int n)
{
    if (n <= 1)
        return name;
    fs::path p(name);
    return p.stem().string() + " (" + std::to_string(n) + ")" + p.extension().string();
}

bool PlaceWithoutReplacing(const std::string& from, const std::string& to)
{
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL && errno != ENOSYS)
        FailMove(from, to, errno);
#endif
#ifndef _WIN32
    // A second name, then the first one goes: link refuses a taken name.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
        FailMove(from, to, errno);
#endif
    // A file system without either: this process is the folder's one watcher.
    std::error_code ec;
    if (fs::exists(to, ec))
        return false;
    fs::rename(from, to, ec);
    if (ec)
        FailMove(from, to, ec.value());
    return true;
}

std::string MoveIntoFolder(const std::string& source, const std::string& folder)
{
    const std::string name = fs::path(source).filename().string();
    for (int n = 1; n <= kMostNumbers; ++n) {
        std::string to = (fs::path(folder) / NumberedName(name, n)).string();
        if (PlaceWithoutReplacing(source, to))
            return to;
    }
    FailMove(source, folder, EEXIST);
}

std::string MoveIntoFolderWithLog(const std::string& source, const std::string& folder, const std::string& logText)
{
    const std::string name = fs::path(source).filename().string();
    for (int n = 1; n <= kMostNumbers; ++n) {
        std::string to = (fs::path(folder) / NumberedName(name, n)).string(), log = to + ".log";
        std::error_code ec;
        if (fs::exists(to, ec) || fs::exists(log, ec))
            continue;
        std::string tmp = TemporaryPathBeside(log);
        std::FILE* f = std::fopen(tmp.c_str(), "wb");
        bool written = f && std::fwrite(logText.data(), 1, logText.size(), f) == logText.size();
        if (f && std::fclose(f) != 0)
            written = false;
        if (!written) {
            int error = errno ? errno : EIO;
            RemoveQuietly(tmp);
            FailMove(source, log, error);
        }
        bool placed;
        try {
            placed = PlaceWithoutReplacing(tmp, log);
        } catch (...) {
            RemoveQuietly(tmp);
            throw;
        }
        RemoveQuietly(tmp); // gone already once placed; forgotten either way
        if (placed && PlaceWithoutReplacing(source, to))
            return to;
    }
    FailMove(source, folder, EEXIST);
}

} // namespace vx
