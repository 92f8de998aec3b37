#include "convert/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <regex>

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

void RemoveStaleTemporaryFiles(const std::string& folder)
{
    static const std::regex name(R"(^\..+\.vxtmp([0-9]+)_[0-9]+$)");
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "." : folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string file = it->path().filename().string();
        std::smatch m;
        if (file.find(kMarker) == std::string::npos || !std::regex_match(file, m, name))
            continue;
        std::error_code typeEc;
        long pid = 0;
        try {
            pid = std::stol(m[1].str());
        } catch (const std::exception&) {
            continue;
        }
        if (!it->is_regular_file(typeEc) || ProcessRuns(pid))
            continue;
        fs::remove(it->path(), typeEc);
    }
}

} // namespace vx
