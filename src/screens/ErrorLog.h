#pragma once
// The error log: multi-line reports (rejected rows, mapping problems) are collected here
// with ClearLog / AddInfo and shown with Display. The windowed program installs a viewer
// that shows the log's window; in command-line mode Display shows nothing and the console
// driver copies the text to standard error.
#include <functional>
#include <string>

namespace vx {

class ErrorLog {
public:
    void ClearLog() { m_text.clear(); }
    // Appends the text, or with atBottom false puts it before the current log.
    void AddInfo(const std::string& text, bool atBottom = true) { m_text = atBottom ? m_text + text : text + m_text; }
    const std::string& Text() const { return m_text; }
    // Shows the window (windowed mode only).
    void Display();

    using Viewer = std::function<void(const std::string& text)>;
    Viewer SetViewer(Viewer viewer);
    int displayCount() const { return m_displayCount; }

private:
    std::string m_text;
    Viewer m_viewer;
    int m_displayCount = 0;
};

// The program's one error log window.
ErrorLog& TheErrorLog();

} // namespace vx
