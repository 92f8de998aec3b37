#include "hotfolder/WatchFolder.h"

#include "base/ErrorLog.h"
#include "base/ExitCodes.h"
#include "base/Interruption.h"
#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/FileLock.h"
#include "config/TableStore.h"
#include "config/modCLTSettings.h"
#include "convert/TemporaryFiles.h"
#include "hotfolder/FileMoves.h"
#include "hotfolder/FolderChanges.h"
#include "hotfolder/SettledFiles.h"

#include <csignal>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace vx {

namespace {
using Clock = SettledFiles::Clock;
// The safety net for folders whose changes the system does not report (network shares).
constexpr auto kRescanEvery = std::chrono::seconds(5);
constexpr const char* kLockName = ".vxclt-watch.lock";

void Say(const std::string& line)
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    WriteStdOut(std::string(stamp) + " " + line);
}

int Fail(const std::string& message, int code)
{
    WriteStdErr(message);
    return code;
}

std::string Absolute(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

// The extension cut lists carry: the mapping's, without a leading "*." ("CSV" when none is set).
std::string CutListExtension()
{
    std::string ext = TrimBlanks(State().FileExtension);
    while (!ext.empty() && (ext[0] == '*' || ext[0] == '.'))
        ext.erase(0, 1);
    return ext.empty() ? "CSV" : ext;
}

// A visible file name with that extension in any letter case (hidden names are the partial
// copies of many tools, and this program's own temporary files).
bool IsCutListName(const std::string& name, const std::string& ext)
{
    std::string e = fs::path(name).extension().string();
    return !name.empty() && name[0] != '.' && e.size() > 1 && EqualsNoCase(e.substr(1), ext);
}

// A regular file's size and modification time (one look at the file, links followed).
std::optional<FileSighting> Sight(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    fs::directory_entry entry(fs::path(folder) / name, ec);
    if (ec || !entry.is_regular_file(ec))
        return std::nullopt;
    auto size = entry.file_size(ec);
    auto mtime = entry.last_write_time(ec);
    if (ec)
        return std::nullopt;
    return FileSighting{name, static_cast<int64_t>(size),
                        std::chrono::duration_cast<std::chrono::nanoseconds>(mtime.time_since_epoch()).count()};
}

// True when the system can tell that a process holds the file open for writing: a read
// lease is refused then (Linux, for files this user owns, on local file systems).
bool HeldForWriting(const std::string& path)
{
#ifdef __linux__
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool held = false;
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0)
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
    else
        held = errno == EAGAIN;
    ::close(fd);
    return held;
#else
    (void)path;
    return false;
#endif
}

int64_t PartsIn(const std::string& partsFile)
{
    try {
        return Connection::Open(partsFile, 1000, true)->ScalarQuery("SELECT count(*) FROM tblParts").rawLong();
    } catch (const std::exception&) {
        return 0;
    }
}

std::string PartsText(int64_t n) { return std::to_string(n) + (n == 1 ? " part" : " parts"); }

// One conversion's lines, as a single conversion would have printed them.
struct Transcript {
    std::vector<std::string> lines;
    // The conversion's own words for its failure: its last "ERROR: " line.
    std::string Reason(int code) const
    {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (it->rfind("ERROR: ", 0) == 0)
                return it->substr(7);
        return "exit code " + std::to_string(code);
    }
    std::string Text() const
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        return text;
    }
};

class HotFolder {
public:
    HotFolder(const WatchOptions& options, WatchConversions& conversions, std::string folder, std::string out)
        : m_options(options), m_conversions(conversions), m_folder(std::move(folder)), m_out(std::move(out)),
          m_done((fs::path(m_folder) / "done").string()), m_failed((fs::path(m_folder) / "failed").string()),
          m_settled(std::chrono::milliseconds(static_cast<int64_t>(options.settleSeconds * 1000))), m_changes(m_folder)
    {}

    // Creates the folders a run moves files into; the failure's exit code, if any.
    std::optional<int> PrepareFolders()
    {
        for (const std::string& f : {m_out, m_done, m_failed}) {
            std::error_code ec;
            fs::create_directories(f, ec);
            if (ec || !fs::is_directory(f))
                return Fail("ERROR: Could not create the folder " + f + (ec ? " (" + ec.message() + ")." : "."),
                            kExitOutputProblem);
            RemoveStaleTemporaryFiles(f);
        }
        RemoveStaleTemporaryFiles(m_folder);
        return std::nullopt;
    }

    int Run();

private:
    enum class Result { Converted, Failed, Stuck, Skipped, Stop };
    bool Rescan(Clock::time_point now);
    Result Take(const FileSighting& seen);
    int Convert(const std::string& source, const std::string& partsFile, Transcript& transcript);

    const WatchOptions m_options;
    WatchConversions& m_conversions;
    const std::string m_folder, m_out, m_done, m_failed;
    SettledFiles m_settled;
    FolderChanges m_changes;
    std::map<std::string, FileSighting> m_stuck; // could not be moved: left until they change
    std::optional<std::set<std::string>> m_onceNames;
    int m_converted = 0, m_failedCount = 0;
};

bool HotFolder::Rescan(Clock::time_point now)
{
    std::vector<FileSighting> files;
    std::error_code ec;
    const std::string ext = CutListExtension();
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!IsCutListName(name, ext))
            continue;
        auto seen = Sight(m_folder, name);
        if (!seen)
            continue;
        auto stuck = m_stuck.find(name);
        if (stuck != m_stuck.end()) {
            if (stuck->second.size == seen->size && stuck->second.mtimeNs == seen->mtimeNs)
                continue;
            m_stuck.erase(stuck); // changed: worth another try
        }
        files.push_back(*seen);
    }
    if (ec) {
        WriteStdErr("ERROR: The folder " + m_folder + " cannot be read (" + ec.message() + ").");
        return false;
    }
    m_settled.Listed(files, now);
    if (m_options.once && !m_onceNames) {
        m_onceNames.emplace();
        for (const FileSighting& f : files)
            m_onceNames->insert(f.name);
    }
    return true;
}

int HotFolder::Convert(const std::string& source, const std::string& partsFile, Transcript& transcript)
{
    LineSink previous = SetConsoleSink([&](bool, const std::string& line) { transcript.lines.push_back(line); });
    TheErrorLog().ClearLog();
    int code;
    try {
        code = m_conversions.Convert(source, partsFile);
    } catch (...) {
        SetConsoleSink(std::move(previous));
        throw;
    }
    SetConsoleSink(std::move(previous));
    return code;
}

HotFolder::Result HotFolder::Take(const FileSighting& seen)
{
    const std::string source = (fs::path(m_folder) / seen.name).string();
    auto now = Sight(m_folder, seen.name);
    if (!now || now->size != seen.size || now->mtimeNs != seen.mtimeNs)
        return Result::Skipped; // gone or changed: the listing that follows says which
    if (HeldForWriting(source)) {
        // Still being written: it settles again once its writer closes it (the system says
        // when), else after the settle time.
        m_settled.Touched(seen.name, m_changes.Reported(), Clock::now());
        return Result::Skipped;
    }
    std::error_code ec;
    fs::create_directories(m_out, ec); // put back if someone removed it meanwhile
    const std::string partsFile = (fs::path(m_out) / fs::path(seen.name).stem()).string() + ".rdb";
    Transcript transcript;
    const int code = Convert(source, partsFile, transcript);
    try {
        if (code == kExitSuccess) {
            int64_t parts = PartsIn(partsFile);
            MoveIntoFolder(source, m_done);
            Say(seen.name + ": " + PartsText(parts) + " written to " + partsFile);
            ++m_converted;
            return Result::Converted;
        }
        if (code == kExitConfiguration) {
            // Not the file's fault: every file would fail the same way.
            Say(seen.name + ": not converted (" + transcript.Reason(code) +
                "); the watch stops and the file stays in the folder.");
            return Result::Stop;
        }
        std::string moved = MoveIntoFolderWithLog(source, m_failed, transcript.Text());
        Say(seen.name + ": failed (" + transcript.Reason(code) + "), moved to failed/" +
            fs::path(moved).filename().string());
        ++m_failedCount;
        return Result::Failed;
    } catch (const std::exception& e) {
        Say(seen.name + ": " + (code == kExitSuccess ? "converted" : "failed (" + transcript.Reason(code) + ")") +
            " but could not be moved: " + StandardErrorText(e));
        m_stuck[seen.name] = *now;
        return Result::Stuck;
    }
}

int HotFolder::Run()
{
    if (!Rescan(Clock::now()))
        return kExitInputProblem;
    auto nextRescan = Clock::now() + kRescanEvery;
    bool stuckAny = false;
    while (true) {
        const auto now = Clock::now();
        std::vector<FileSighting> ready = m_settled.Settled(now);
        if (m_onceNames) {
            std::erase_if(*m_onceNames, [&](const std::string& n) { return !m_settled.Knows(n); });
            if (m_onceNames->empty())
                break;
            std::erase_if(ready, [&](const FileSighting& f) { return !m_onceNames->count(f.name); });
        }
        if (!ready.empty()) {
            const std::string name = ready.front().name;
            Result result = Take(ready.front());
            if (result == Result::Stop)
                return kExitConfiguration;
            if (result != Result::Skipped)
                m_settled.Forget(name);
            else if (!Rescan(Clock::now()))
                return kExitInputProblem;
            stuckAny = stuckAny || result == Result::Stuck;
            continue;
        }
        auto wakeAt = nextRescan;
        if (auto settles = m_settled.NextSettling(now); settles && *settles < wakeAt)
            wakeAt = *settles;
        auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(wakeAt - now).count();
        FolderChanges::Changes c = m_changes.Wait(static_cast<int>(std::max<int64_t>(waitMs, 0)));
        if (c.overflow)
            m_settled.WritersUnknown();
        const auto after = Clock::now();
        if (c.any || after >= nextRescan) {
            if (!Rescan(after))
                return kExitInputProblem;
            nextRescan = after + kRescanEvery;
        }
        for (const FolderChanges::Change& f : c.files)
            m_settled.Touched(f.name, f.written, after);
    }
    Say(std::to_string(m_converted) + (m_converted == 1 ? " file" : " files") + " converted, " +
        std::to_string(m_failedCount) + " moved to failed/.");
    if (m_failedCount)
        return kExitInvalidRows;
    return stuckAny ? kExitUnexpected : kExitSuccess;
}
} // namespace

int RunWatch(const WatchOptions& options, WatchConversions& conversions)
{
    const std::string folder = Absolute(options.folder);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return Fail("ERROR: Folder not found: " + options.folder, kExitInputProblem);
    if (auto problem = conversions.LogFileProblem()) {
        SetLogPath("");
        WriteStdErr("ERROR: " + *problem);
        return Fail("Run  VXCLT.exe /help  for usage.", kExitBadArguments);
    }
    std::string out = options.outFolder.empty() ? (fs::path(folder) / "out").string() : Absolute(options.outFolder);
    if (!options.outFolder.empty() && !fs::is_directory(out, ec))
        return Fail("ERROR: Output folder does not exist: " + out, kExitOutputProblem);

    // One watcher per folder; the system lets go of the lock however the process ends.
    FileLock lock((fs::path(folder) / kLockName).string(), 0);
    if (!lock.Held())
        return Fail("ERROR: Another VXCLT is already watching " + folder + ".", kExitInputProblem);
    HotFolder hot(options, conversions, folder, out);
    if (auto failed = hot.PrepareFolders())
        return *failed;
    LoadSettings(); // the file extension; each conversion loads the settings again
#ifdef SIGIO
    std::signal(SIGIO, SIG_IGN); // a writer opening a file during the lease test must not end us
#endif
    // A signal ends the watch at once: the file in hand keeps its place in the folder and its
    // temporary files are removed, so the next start converts it again.
    SetInterruptEnding("Watch of " + folder + " ended", options.once ? kExitUnexpected : kExitSuccess);
    Say("Watching " + folder + " for *." + LowerCase(CutListExtension()) + " cut lists; parts files go to " + out +
        ".");
    return hot.Run();
}

} // namespace vx
