#include "TestSupport.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"

#include <QProcessEnvironment>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vxtest {

std::string BinDir() { return VX_BIN_DIR; }
std::string SourceDir() { return VX_SOURCE_DIR; }

RuntimeSandbox::RuntimeSandbox()
{
    m_hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    m_oldXdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
    vx::ResetState();
    vx::SetLogPath("");
    vx::TheErrorLog().ClearLog();
    vx::SetProgramFolder(BinDir());
    vx::SetUpRuntimeFiles();
    vx::SetConsoleSink([this](bool toErr, const std::string& line) { (toErr ? err : out).push_back(line); });
}

RuntimeSandbox::~RuntimeSandbox()
{
    vx::SetConsoleSink({});
    vx::SetLogPath("");
    if (m_hadXdg)
        qputenv("XDG_DATA_HOME", m_oldXdg);
    else
        qunsetenv("XDG_DATA_HOME");
}

std::string RuntimeSandbox::root() const { return m_dir.path().toStdString(); }
std::string RuntimeSandbox::runtimeFolder() const { return vx::State().RuntimeFolder; }
std::string RuntimeSandbox::defDatabase() const { return vx::DefDatabasePath(); }
std::string RuntimeSandbox::templateDatabase() const { return vx::TemplateDatabasePath(); }
std::string RuntimeSandbox::file(const std::string& name) const { return root() + "/" + name; }

std::string RuntimeSandbox::writeFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
    return file(name);
}

void RuntimeSandbox::execDef(const std::string& sql) const { vx::Connection::Open(defDatabase())->Execute(sql); }

ScriptedPresenter::ScriptedPresenter()
{
    vx::SetMessagePresenter([this](const std::string& prompt, int style, const std::string& title) {
        prompts.push_back({prompt, style, title});
        if (m_answers.empty())
            return vx::DefaultAnswer(style);
        int a = m_answers.front();
        m_answers.pop_front();
        return a;
    });
}

ScriptedPresenter::~ScriptedPresenter() { vx::SetMessagePresenter({}); }

RunResult RunVxclt(const std::vector<std::string>& args, const std::string& xdgHome, int timeoutMs)
{
    return RunProgram(BinDir() + "/VXCLT", args, xdgHome, timeoutMs);
}

static std::unique_ptr<QProcess> StartProgram(const std::string& program, const std::vector<std::string>& args,
                                              const std::string& xdgHome)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString(xdgHome));
    p->setProcessEnvironment(env);
    QStringList list;
    for (auto& a : args)
        list << QString::fromStdString(a);
    p->start(QString::fromStdString(program), list);
    return p;
}

std::unique_ptr<QProcess> StartVxclt(const std::vector<std::string>& args, const std::string& xdgHome)
{
    return StartProgram(BinDir() + "/VXCLT", args, xdgHome);
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& xdgHome,
                     int timeoutMs)
{
    std::unique_ptr<QProcess> started = StartProgram(program, args, xdgHome);
    QProcess& p = *started;
    RunResult r;
    if (!p.waitForStarted(10000))
        return r;
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        lines.push_back(line);
    }
    return lines;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> QueryColumn(const std::string& dbPath, const std::string& sql)
{
    auto c = vx::Connection::Open(dbPath);
    vx::Statement st = c->Prepare(sql);
    std::vector<std::string> out;
    while (st.Step())
        out.push_back(st.Column(0).toText());
    return out;
}

std::string QueryScalar(const std::string& dbPath, const std::string& sql)
{
    auto rows = QueryColumn(dbPath, sql);
    return rows.empty() ? "" : rows.front();
}

} // namespace vxtest
