#include "screens/ErrorLog.h"

#include "start/ProgramState.h"

#include <algorithm>

namespace vx {

void ErrorLog::Display()
{
    ++m_displayCount;
    if (State().CommandLineMode || !m_viewer)
        return;
    m_viewer(m_text);
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
    std::vector<std::string> seen;
    for (const std::string& reason : reasons) {
        std::string text = reason;
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (text.empty() || std::find(seen.begin(), seen.end(), text) != seen.end())
            continue;
        seen.push_back(text);
        ++m_reasons[text];
    }
}

std::string RejectionSummary::Line(int64_t rowsAccepted) const
{
    if (m_rejected == 0)
        return {};
    const int64_t rowsRead = rowsAccepted + m_rejected;
    std::string line = std::to_string(m_rejected) + " of " + std::to_string(rowsRead) +
                       (rowsRead == 1 ? " row was" : " rows were") + " rejected.";
    auto most = m_reasons.end();
    for (auto it = m_reasons.begin(); it != m_reasons.end(); ++it)
        if (most == m_reasons.end() || it->second > most->second)
            most = it;
    if (most != m_reasons.end())
        line += " Most frequent reason (" + std::to_string(most->second) + (most->second == 1 ? " row" : " rows") +
                "): " + most->first;
    return line;
}

ErrorLog& TheErrorLog()
{
    static ErrorLog log;
    return log;
}

} // namespace vx
