#pragma once
// Waiting for a folder to change without polling: inotify on Linux (which also tells when a
// writer closed a file); elsewhere, or where the folder gives no events (many network
// folders), the wait simply times out and the caller's rescan finds what changed.
#include <string>
#include <vector>

namespace vx {

class FolderChanges {
public:
    explicit FolderChanges(const std::string& folder);
    ~FolderChanges();
    FolderChanges(const FolderChanges&) = delete;
    FolderChanges& operator=(const FolderChanges&) = delete;

    struct Change {
        std::string name;
        bool written = false; // written to (a writer still holds it open)
        bool closed = false;  // its writer closed it
    };
    struct Changes {
        std::vector<Change> files;
        bool any = false;      // something happened in the folder
        bool overflow = false; // events were lost: writers are no longer known
    };
    // Waits up to timeoutMs (at least 0) for changes and returns them.
    Changes Wait(int timeoutMs);
    // True when the system reports this folder's changes (and writers closing files).
    bool Reported() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace vx
