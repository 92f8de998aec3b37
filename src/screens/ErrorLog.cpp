#include "screens/ErrorLog.h"

#include "start/ProgramState.h"

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

ErrorLog& TheErrorLog()
{
    static ErrorLog log;
    return log;
}

} // namespace vx
