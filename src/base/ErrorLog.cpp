#include "base/ErrorLog.h"

#include "base/ProgramState.h"

#include <algorithm>

namespace vx {

void ErrorLog::Display()
{
    ++m_displayCount;
    if (State().CommandLineMode || !m_viewer)
        return;
    m_viewer(m_text);
}

void ErrorLog::Withdraw()
{
    ClearLog();
    if (m_hider)
        m_hider();
}

ErrorLog::Viewer ErrorLog::SetViewer(Viewer viewer)
{
    std::swap(viewer, m_viewer);
    return viewer;
}

void RejectionSummary::Add(const std::vector<std::string>& reasons)
{
    ++m_rejected;
    // A reason counts once per row, however many of the row's values it refused.
    std::vector<size_t> seen;
    for (const std::string& reason : reasons) {
        std::string text = reason;
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (text.empty())
            continue;
        auto it = std::find_if(m_reasons.begin(), m_reasons.end(), [&](const auto& r) { return r.first == text; });
        size_t index = static_cast<size_t>(it - m_reasons.begin());
        if (std::find(seen.begin(), seen.end(), index) != seen.end())
            continue;
        seen.push_back(index);
        if (it == m_reasons.end())
            m_reasons.emplace_back(std::move(text), 1);
        else
            ++it->second;
    }
}

std::string RejectionSummary::Line(int64_t rowsAccepted) const
{
    if (m_rejected == 0)
        return {};
    const int64_t rowsRead = rowsAccepted + m_rejected;
    std::string line = std::to_string(m_rejected) + " of " + std::to_string(rowsRead) +
                       (rowsRead == 1 ? " row was" : " rows were") + " rejected";
    // The first reason met wins a tie; when every reason was met once there is none to name.
    auto most = m_reasons.begin();
    for (auto it = m_reasons.begin(); it != m_reasons.end(); ++it)
        if (it->second > most->second)
            most = it;
    if (most == m_reasons.end())
        return line + ".";
    if (most->second == 1 && m_reasons.size() > 1)
        return line + ", each for a reason of its own.";
    return line + ". Most frequent reason (" + std::to_string(most->second) + (most->second == 1 ? " row" : " rows") +
           "): " + most->first;
}

ErrorLog& TheErrorLog()
{
    static ErrorLog log;
    return log;
}

} // namespace vx
