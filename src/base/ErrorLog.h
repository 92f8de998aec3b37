#pragma once
// The error log: multi-line reports (rejected rows, mapping problems) are collected here
// with ClearLog / AddInfo and shown with Display. The windowed program installs a viewer
// that shows the log's window; in command-line mode Display shows nothing and the console
// driver copies the text to standard error.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vx {

class ErrorLog {
public:
    void ClearLog()
    {
        m_text.clear();
        m_summary.clear();
    }
    // Appends the text, or with atBottom false puts it before the current log.
    void AddInfo(const std::string& text, bool atBottom = true) { m_text = atBottom ? m_text + text : text + m_text; }
    const std::string& Text() const { return m_text; }
    // One line the window shows above the text (the console copy of the log leaves it out).
    void SetSummary(std::string summary) { m_summary = std::move(summary); }
    const std::string& Summary() const { return m_summary; }
    // Shows the window (windowed mode only).
    void Display();
    // Empties the log and hides the window: the problems it showed no longer hold (the file
    // they were found in is being read again).
    void Withdraw();

    using Viewer = std::function<void(const std::string& text)>;
    Viewer SetViewer(Viewer viewer);
    void SetHider(std::function<void()> hider) { m_hider = std::move(hider); }
    int displayCount() const { return m_displayCount; }

private:
    std::string m_text, m_summary;
    Viewer m_viewer;
    std::function<void()> m_hider;
    int m_displayCount = 0;
};

// The program's one error log window.
ErrorLog& TheErrorLog();

// Counts rejected rows and their reasons while a file is read, for the log's summary line.
class RejectionSummary {
public:
    void Add(const std::vector<std::string>& reasons);
    // With the rows accepted beside them: "3 of 12 rows were rejected. Most frequent reason
    // (2 rows): ..."; "" when none was rejected.
    std::string Line(int64_t rowsAccepted) const;

private:
    int64_t m_rejected = 0;
    std::vector<std::pair<std::string, int64_t>> m_reasons; // in the order first met
};

} // namespace vx
