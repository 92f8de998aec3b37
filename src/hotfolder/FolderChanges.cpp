#include "hotfolder/FolderChanges.h"

#include <chrono>
#include <thread>

#ifdef __linux__
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vx {

#ifdef __linux__
FolderChanges::FolderChanges(const std::string& folder)
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    constexpr uint32_t kMask =
        IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ATTRIB;
    if (m_fd >= 0 && ::inotify_add_watch(m_fd, folder.c_str(), kMask) < 0) {
        ::close(m_fd);
        m_fd = -1; // rescans only
    }
}

FolderChanges::~FolderChanges()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderChanges::Changes FolderChanges::Wait(int timeoutMs)
{
    Changes changes;
    if (m_fd < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return changes;
    }
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return changes;
    alignas(inotify_event) char buf[16384];
    ssize_t n;
    while ((n = ::read(m_fd, buf, sizeof buf)) > 0) {
        changes.any = true;
        for (char* at = buf; at < buf + n;) {
            auto* e = reinterpret_cast<inotify_event*>(at);
            at += sizeof(inotify_event) + e->len;
            if (e->mask & IN_Q_OVERFLOW)
                changes.overflow = true;
            if (e->len == 0 || !(e->mask & (IN_MODIFY | IN_CLOSE_WRITE)))
                continue;
            Change c;
            c.name = e->name;
            c.closed = (e->mask & IN_CLOSE_WRITE) != 0;
            c.written = !c.closed;
            changes.files.push_back(std::move(c));
        }
    }
    return changes;
}
#else
FolderChanges::FolderChanges(const std::string&) {}
FolderChanges::~FolderChanges() {}
FolderChanges::Changes FolderChanges::Wait(int timeoutMs)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return {};
}
#endif

} // namespace vx
