#pragma once
// Which files of a hot folder are complete: a file is settled once its size and modification
// time have stayed the same for the settle time and no writer of it is known to hold it open.
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// One file as a listing of the folder saw it.
struct FileSighting {
    std::string name;
    int64_t size = 0;
    int64_t mtimeNs = 0;
};

class SettledFiles {
public:
    using Clock = std::chrono::steady_clock;
    explicit SettledFiles(Clock::duration settle) : m_settle(settle) {}

    // A whole listing: a new file starts its settle time, a changed one starts it again, a
    // file no longer listed is forgotten.
    void Listed(const std::vector<FileSighting>& files, Clock::time_point now);
    // The system said the file was written to (writing: still held open for it) or that its
    // writer closed it; either way its settle time starts again.
    void Touched(const std::string& name, bool writing, Clock::time_point now);
    // The system lost track of writers: none is assumed open any more.
    void WritersUnknown();
    void Forget(const std::string& name) { m_files.erase(name); }

    // The settled files, oldest modification first (then by name).
    std::vector<FileSighting> Settled(Clock::time_point now) const;
    // When the next file still settling at now settles (a file a writer holds waits for the
    // system's word); none when nothing waits.
    std::optional<Clock::time_point> NextSettling(Clock::time_point now) const;
    bool Knows(const std::string& name) const { return m_files.count(name) != 0; }

private:
    struct Entry {
        FileSighting seen;
        Clock::time_point changed;
        bool writing = false;
    };
    Clock::duration m_settle;
    std::map<std::string, Entry> m_files;
};

} // namespace vx
