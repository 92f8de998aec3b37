#include "hotfolder/SettledFiles.h"

#include <algorithm>
#include <set>

namespace vx {

void SettledFiles::Listed(const std::vector<FileSighting>& files, Clock::time_point now)
{
    std::set<std::string> listed;
    for (const FileSighting& f : files) {
        listed.insert(f.name);
        auto [it, added] = m_files.try_emplace(f.name, Entry{f, now});
        Entry& e = it->second;
        if (!added && (e.seen.size != f.size || e.seen.mtimeNs != f.mtimeNs)) {
            e.seen = f;
            e.changed = now;
        }
    }
    for (auto it = m_files.begin(); it != m_files.end();)
        it = listed.count(it->first) ? std::next(it) : m_files.erase(it);
}

void SettledFiles::Touched(const std::string& name, bool writing, Clock::time_point now)
{
    auto it = m_files.find(name);
    if (it == m_files.end())
        return; // the next listing adds it
    it->second.changed = now;
    it->second.writing = writing;
}

void SettledFiles::WritersUnknown()
{
    for (auto& [name, e] : m_files)
        e.writing = false;
}

std::vector<FileSighting> SettledFiles::Settled(Clock::time_point now) const
{
    std::vector<FileSighting> settled;
    for (const auto& [name, e] : m_files)
        if (!e.writing && now - e.changed >= m_settle)
            settled.push_back(e.seen);
    std::sort(settled.begin(), settled.end(), [](const FileSighting& a, const FileSighting& b) {
        return a.mtimeNs != b.mtimeNs ? a.mtimeNs < b.mtimeNs : a.name < b.name;
    });
    return settled;
}

std::optional<SettledFiles::Clock::time_point> SettledFiles::NextSettling(Clock::time_point now) const
{
    std::optional<Clock::time_point> next;
    for (const auto& [name, e] : m_files) {
        Clock::time_point settles = e.changed + m_settle;
        if (!e.writing && settles > now && (!next || settles < *next))
            next = settles;
    }
    return next;
}

} // namespace vx
