#include "config/RuntimeFiles.h"

#include "config/NumberText.h"
#include "start/ProgramState.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace vx {

namespace {
std::string& ProgramFolderText()
{
    static std::string folder;
    return folder;
}

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif
} // namespace

void SetProgramFolder(const std::string& folder) { ProgramFolderText() = folder; }

std::string ProgramFolder()
{
    if (ProgramFolderText().empty()) {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        if (!ec)
            ProgramFolderText() = exe.parent_path().string();
    }
    return ProgramFolderText();
}

std::string RuntimeRoot()
{
#ifdef _WIN32
    return "C:\\RerezireduRodAduvArivo";
#else
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && *xdg)
        base = xdg;
    else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.local/share";
    }
    return JoinPath(base, "RerezireduRodAduvArivo");
#endif
}

void SetUpRuntimeFiles()
{
    std::string programFolder = ProgramFolder();
    std::string name = FileNameOf(programFolder);
    State().RuntimeFolder = JoinPath(RuntimeRoot(), name);
    std::error_code ec;
    fs::create_directories(State().RuntimeFolder, ec);
    const char* names[][2] = {{kManualDatabaseName, "ManualPartsTemplateDefault.mdb"},
                              {kDefDatabaseName, "CLTDefDefault.mdb"},
                              {kTemplateDatabaseName, "ROPartsFileTemplateDefault.mdb"}};
    for (auto& pair : names) {
        fs::path target = JoinPath(State().RuntimeFolder, pair[0]);
        if (fs::exists(target, ec))
            continue;
        // Copy beside the target and rename, so a half-copied file never stands as a database.
        fs::path tmp = target;
        tmp += ".restoring";
        fs::copy_file(JoinPath(programFolder, pair[1]), tmp, fs::copy_options::overwrite_existing, ec);
        if (!ec)
            fs::rename(tmp, target, ec);
        if (ec)
            fs::remove(tmp, ec);
    }
}

std::string DefDatabasePath() { return JoinPath(State().RuntimeFolder, kDefDatabaseName); }
std::string TemplateDatabasePath() { return JoinPath(State().RuntimeFolder, kTemplateDatabaseName); }
std::string ManualDatabasePath() { return JoinPath(State().RuntimeFolder, kManualDatabaseName); }

bool IsProgramFile(const std::string& path)
{
    std::string given = UpperCase(TrimBlanks(path));
    for (const char* name : {kTemplateDatabaseName, kDefDatabaseName, kManualDatabaseName})
        if (given == UpperCase(TrimBlanks(JoinPath(State().RuntimeFolder, name))))
            return true;
    return false;
}

std::string FolderOf(const std::string& path)
{
    size_t pos = path.find_last_of(kSep);
    return pos == std::string::npos ? path : path.substr(0, pos);
}

std::string FileNameOf(const std::string& path)
{
    size_t pos = path.rfind('\\');
    if (pos == std::string::npos)
        pos = path.rfind('/');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == kSep)
        return folder + name;
    return folder + kSep + name;
}

} // namespace vx
