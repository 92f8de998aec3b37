#pragma once
// Shared test helpers: temporary runtime folders, captured console output, scripted answers
// to ShowMessage, and running the built VXCLT.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace vxtest {

// Folder of the built executable and factory databases; the source tree.
std::string BinDir();
std::string SourceDir();

// A temporary XDG_DATA_HOME with the runtime files restored from the factory copies.
// Resets the program state, sets RuntimeFolder, clears the error log and captures console
// output for the lifetime of the object.
class RuntimeSandbox {
public:
    RuntimeSandbox();
    ~RuntimeSandbox();
    std::string root() const;          // the XDG_DATA_HOME
    std::string runtimeFolder() const; // holds CLTDef.mdb etc.
    std::string defDatabase() const;
    std::string templateDatabase() const;
    // A path for a scratch file inside the sandbox.
    std::string file(const std::string& name) const;
    // Writes a file with exactly these bytes and returns its path.
    std::string writeFile(const std::string& name, const std::string& bytes) const;
    // Runs SQL against the runtime configuration database.
    void execDef(const std::string& sql) const;

    std::vector<std::string> out, err; // captured console lines

private:
    QTemporaryDir m_dir;
    QByteArray m_oldXdg;
    bool m_hadXdg;
};

// Answers ShowMessage prompts from a queue; records every prompt.
class ScriptedPresenter {
public:
    ScriptedPresenter();
    ~ScriptedPresenter();
    void answer(int code) { m_answers.push_back(code); }
    struct Prompt {
        std::string text;
        int style;
        std::string title;
    };
    std::vector<Prompt> prompts;

private:
    std::deque<int> m_answers;
};

// Result of running the built VXCLT.
struct RunResult {
    int exitCode = -1;
    std::string out, err;
};
// Runs build/bin/VXCLT with the arguments and XDG_DATA_HOME set to xdgHome.
RunResult RunVxclt(const std::vector<std::string>& args, const std::string& xdgHome, int timeoutMs = 120000);
// Runs any program the same way (a copy of VXCLT elsewhere, a shell wrapper).
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& xdgHome,
                     int timeoutMs = 120000);
// Starts build/bin/VXCLT that way and leaves it running, for tests that watch or stop it.
std::unique_ptr<QProcess> StartVxclt(const std::vector<std::string>& args, const std::string& xdgHome);

// The lines of console output, line ends (LF or CR LF) removed.
std::vector<std::string> Lines(const std::string& text);

// Text helpers of the console tests.
inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
inline std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

// Reads a file whole / the first column of every row of a query / a folder's names, sorted.
std::string ReadFile(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& folder);
std::vector<std::string> QueryColumn(const std::string& dbPath, const std::string& sql);
std::string QueryScalar(const std::string& dbPath, const std::string& sql);

inline QStringList ToList(const std::vector<std::string>& values)
{
    QStringList list;
    for (const auto& v : values)
        list << QString::fromStdString(v);
    return list;
}

} // namespace vxtest
