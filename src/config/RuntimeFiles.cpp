#include "config/RuntimeFiles.h"

#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/LockWait.h"

#include <sqlite3.h>

#include <algorithm>
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

std::string ConfigurationDamage()
{
    const std::string path = DefDatabasePath();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return {};
    if (fs::file_size(path, ec) == 0 && !ec)
        return "the file is empty";
    sqlite3* db = nullptr;
    std::string reason;
    LockWait wait(path, 60000);
    // Read-write, as the program opens it: a journal left by an interrupted write is rolled
    // back, not mistaken for damage. The check itself writes nothing.
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        reason = db ? sqlite3_errmsg(db) : "it cannot be opened";
    } else {
        WaitVisiblyWhenBusy(db, wait);
        sqlite3_stmt* st = nullptr;
        int prepared = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &st, nullptr);
        if (prepared != SQLITE_OK) {
            if ((prepared & 0xff) != SQLITE_BUSY)
                reason = sqlite3_errmsg(db);
        } else {
            int rc = sqlite3_step(st);
            if (rc == SQLITE_ROW) {
                const char* result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
                if (!result || std::string(result) != "ok")
                    reason = result ? result : "the quick check failed";
            } else if (rc != SQLITE_DONE && (rc & 0xff) != SQLITE_BUSY) {
                reason = sqlite3_errmsg(db); // busy is not damage: the conversion waits for it
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    std::replace(reason.begin(), reason.end(), '\n', ' '); // the quick check lists on lines
    return reason;
}

std::string DamagedConfigurationMessage(const std::string& reason)
{
    return "The configuration file " + DefDatabasePath() + " is damaged (" + reason +
           "). To go back to the factory configuration, rename it or move it away (the windowed program offers "
           "to); the next start puts a fresh copy in its place.";
}

bool SameFileOrPlace(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec)
        return true; // the same file: a hard link, a symbolic link, another spelling
    // Where neither exists yet, the place both would be created at, links and ".." resolved.
    fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
    if (ec)
        return false;
    fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return !ec && EqualsNoCase(pa.string(), pb.string());
}

bool IsProgramFile(const std::string& path)
{
    std::string given = TrimBlanks(path);
    for (const char* name : {kTemplateDatabaseName, kDefDatabaseName, kManualDatabaseName}) {
        std::string own = TrimBlanks(JoinPath(State().RuntimeFolder, name));
        if (EqualsNoCase(given, own) || (!given.empty() && SameFileOrPlace(given, own)))
            return true;
    }
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
