#include "config/DamagedConfiguration.h"

#include "base/Messages.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace vx {

namespace {
constexpr const char* kCrLf = "\r\n";
// The files SQLite keeps beside a database while it writes; left behind, they would be
// applied to the fresh copy.
constexpr const char* kCompanions[] = {"-journal", "-wal", "-shm"};
} // namespace

std::string DamagedFileName(const std::string& path, std::time_t when)
{
    const fs::path file(path);
    char stamp[32];
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = (file.parent_path() / file.stem()).string() + "-damaged-" + stamp;
    std::error_code ec;
    std::string name = base + file.extension().string();
    for (int n = 2; fs::exists(name, ec) || fs::exists(name + kCompanions[0], ec); ++n)
        name = base + "-" + std::to_string(n) + file.extension().string();
    return name;
}

void ReplaceDamagedConfiguration(const std::string& aside)
{
    const std::string path = DefDatabasePath();
    std::error_code ec;
    fs::rename(path, aside, ec);
    if (ec)
        throw VxError(kErrPermissionDenied,
                      "The file " + path + " could not be moved aside (" + ec.message() +
                          "). Make its folder writable, or move the file yourself, and start again.",
                      "ReplaceDamagedConfiguration");
    for (const char* companion : kCompanions)
        if (fs::exists(path + companion, ec))
            fs::rename(path + companion, aside + companion, ec);
    SetUpRuntimeFiles();
    if (!fs::is_regular_file(path, ec))
        throw VxError(kErrFileNotFound,
                      "The factory configuration could not be copied to " + path + ". The damaged file is kept as " +
                          aside + ". Install the program again.",
                      "ReplaceDamagedConfiguration");
    const std::string damage = ConfigurationDamage();
    if (!damage.empty())
        throw VxError(kErrDatabase,
                      "The factory configuration copied to " + path + " can not be used either (" + damage +
                          "). Install the program again.",
                      "ReplaceDamagedConfiguration");
}

bool ConfigurationReadyForScreens()
{
    const std::string path = DefDatabasePath();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        ShowMessage("The configuration file " + path +
                        " is missing and its factory copy could not be put in its place. Install the program "
                        "again.",
                    vbOKOnly | vbCritical, "");
        return false;
    }
    const std::string damage = ConfigurationDamage();
    if (damage.empty())
        return true;
    const std::string aside = DamagedFileName(path, std::time(nullptr));
    const std::string question = "The configuration file " + path + " is damaged (" + damage +
                                 "), so the program can not use it." + kCrLf + kCrLf + "Yes: move it aside as " +
                                 fs::path(aside).filename().string() +
                                 " (it is kept, not deleted) and start with the factory configuration." + kCrLf +
                                 "No: close the program and leave the file as it is.";
    if (ShowMessage(question, vbYesNo | vbCritical, "Damaged Configuration") != vbYes)
        return false;
    try {
        ReplaceDamagedConfiguration(aside);
    } catch (const VxError& e) {
        ShowMessage(e.standardText(), vbOKOnly | vbCritical, "");
        return false;
    }
    return true;
}

} // namespace vx
