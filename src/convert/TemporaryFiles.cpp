#include "convert/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>

#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace vx {

namespace {
constexpr const char* kMarker = ".vxtmp";

// Fixed slots, so the signal handler reads plain memory: a slot is published by setting
// used after its path was written, and cleared before the path is reused.
constexpr size_t kSlots = 16;
constexpr size_t kPathMax = 4096;
struct Slot {
    std::atomic<bool> used{false};
    char path[kPathMax] = {};
};
Slot g_slots[kSlots];
std::mutex g_slotsMutex;

bool ProcessRuns(long pid)
{
#ifndef _WIN32
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#else
    (void)pid;
    return true; // never remove what may still be in use
#endif
}
} // namespace

void RegisterTemporaryFile(const std::string& path)
{
    if (path.size() >= kPathMax)
        return;
    std::lock_guard lock(g_slotsMutex);
    for (Slot& s : g_slots) {
        if (s.used.load())
            continue;
        std::memcpy(s.path, path.c_str(), path.size() + 1);
        s.used.store(true);
        return;
    }
}

void ForgetTemporaryFile(const std::string& path)
{
    std::lock_guard lock(g_slotsMutex);
    for (Slot& s : g_slots)
        if (s.used.load() && path == s.path)
            s.used.store(false);
}

void RemoveTemporaryFilesNow()
{
#ifndef _WIN32
    for (Slot& s : g_slots)
        if (s.used.load())
            ::unlink(s.path);
#endif
}

std::string TemporaryFileName(const std::string& targetName, long pid, unsigned serial)
{
    return "." + targetName + kMarker + std::to_string(pid) + "_" + std::to_string(serial);
}

namespace {
// The process id in a temporary file's name ".<name>.vxtmp<pid>_<serial>" (the last marker
// whose digits end the name); false for any other name.
bool TemporaryFileProcess(const std::string& file, long& pid)
{
    auto digits = [&file](size_t from, size_t to) {
        return to > from && std::all_of(file.begin() + static_cast<std::ptrdiff_t>(from),
                                        file.begin() + static_cast<std::ptrdiff_t>(to),
                                        [](char c) { return c >= '0' && c <= '9'; });
    };
    if (file.size() < 2 || file[0] != '.' || file.find_first_of("\r\n") != std::string::npos)
        return false;
    const size_t markerSize = std::strlen(kMarker);
    for (size_t at = file.rfind(kMarker); at != std::string::npos && at >= 2; at = file.rfind(kMarker, at - 1)) {
        size_t bar = file.find('_', at + markerSize);
        if (bar == std::string::npos || !digits(at + markerSize, bar) || !digits(bar + 1, file.size()))
            continue;
        try {
            pid = std::stol(file.substr(at + markerSize, bar - at - markerSize));
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    return false;
}
} // namespace

void RemoveStaleTemporaryFiles(const std::string& folder)
{
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "." : folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string file = it->path().filename().string();
        long pid = 0;
        if (!TemporaryFileProcess(file, pid))
            continue;
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc) || ProcessRuns(pid))
            continue;
        fs::remove(it->path(), typeEc);
    }
}

} // namespace vx
