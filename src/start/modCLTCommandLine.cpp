// The command-line conversion driver: one conversion with the stored configuration, progress
// on standard output, problems on standard error, the result as an exit code.
#include "start/modCLTCommandLine.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/LockWait.h"
#include "config/RuntimeFiles.h"
#include "config/modCLTSettings.h"
#include "convert/ConversionSession.h"
#include "convert/PartsFileWriter.h"
#include "hotfolder/WatchFolder.h"
#include "mapping/SavedMappingCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace vx {

namespace {

std::string UnexpectedErrorLine(const std::exception& e)
{
    int number = kErrInvalidProcedureCall;
    std::string description = e.what();
    if (auto* vxe = dynamic_cast<const VxError*>(&e)) {
        number = vxe->number();
        description = vxe->description();
    } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
        number = 7;
        description = "Out of memory";
    }
    return "ERROR: Unexpected error " + std::to_string(number) + ": " + description;
}

std::string UnknownErrorLine()
{
    return "ERROR: Unexpected error " + std::to_string(kErrInvalidProcedureCall) + ": Unknown error";
}

// Writes the message to standard error and gives the code as the result.
int Fail(const std::string& message, int code)
{
    WriteStdErr(message);
    return code;
}

std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

// A link or a second name for the input must not be overwritten by the output either.
bool SameFile(const std::string& a, const std::string& b) { return EqualsNoCase(a, b) || SameFileOrPlace(a, b); }

std::string DefaultOutputPath(const std::string& absoluteInput)
{
    fs::path input(absoluteInput);
    return (input.parent_path() / input.stem()).string() + ".rdb";
}

} // namespace

std::optional<std::string> LogFileProblem(const CommandLineOptions& args)
{
    const std::string& log = args.ArgLogPath;
    if (log.empty())
        return std::nullopt;
    if (!args.ArgInputPath.empty()) {
        std::string input = AbsolutePath(args.ArgInputPath);
        if (SameFile(log, input))
            return "/log names the input file " + log + ".";
        std::string output = args.ArgOutputPath.empty() ? DefaultOutputPath(input) : AbsolutePath(args.ArgOutputPath);
        if (SameFile(log, output))
            return "/log names the output file " + log + ".";
    }
    if (IsProgramFile(log))
        return "/log names " + log + ", a file used by this software.";
    errno = 0;
    std::FILE* f = std::fopen(log.c_str(), "ab");
    if (!f)
        return "The log file " + log + " cannot be opened: " + std::strerror(errno) + ".";
    std::fclose(f);
    return std::nullopt;
}

namespace {

// Steps 1 to 5: the input exists, both paths are absolute, the output folder exists and
// the output is not the input. Returns the failure code, if any.
std::optional<int> CheckPaths(CommandLineOptions& args)
{
    std::error_code ec;
    if (!fs::is_regular_file(args.ArgInputPath, ec))
        return Fail("ERROR: Input file not found: " + args.ArgInputPath, kExitInputProblem);
    args.ArgInputPath = AbsolutePath(args.ArgInputPath);
    if (args.ArgOutputPath.empty())
        args.ArgOutputPath = DefaultOutputPath(args.ArgInputPath);
    args.ArgOutputPath = AbsolutePath(args.ArgOutputPath);
    std::string folder = fs::path(args.ArgOutputPath).parent_path().string();
    if (!folder.empty() && !fs::is_directory(folder, ec))
        return Fail("ERROR: Output folder does not exist: " + folder, kExitOutputProblem);
    if (SameFile(args.ArgInputPath, args.ArgOutputPath))
        return Fail("ERROR: Input and output are the same file.", kExitBadArguments);
    return std::nullopt;
}

// Step 6: the stored settings, and a configuration new enough for this program.
std::optional<int> LoadConfiguration()
{
    State().ErrorReported = false;
    std::string damage = ConfigurationDamage();
    if (!damage.empty())
        return Fail("ERROR: " + DamagedConfigurationMessage(damage), kExitConfiguration);
    LoadSettings();
    if (CriteriaColumnsMissing()) {
        WriteStdErr("ERROR: " + JoinPath(State().RuntimeFolder, kDefDatabaseName) +
                    " is from an older version of the Cutlister and cannot be used by this program.");
        return Fail("       Its tblPartsCriteria table is missing the Switch_Dims and/or Reverse_Scribes column.",
                    kExitConfiguration);
    }
    // Converting with factory defaults in place of settings that could not be read would
    // write a file the operator never asked for and still report success.
    if (State().ErrorReported)
        return Fail("ERROR: The settings could not be read from " + DefDatabasePath() + " (see above).",
                    kExitConfiguration);
    return std::nullopt;
}

// Step 7: the in-memory settings of this run; nothing here is saved.
void PrepareRunSettings(const CommandLineOptions& args)
{
    ProgramState& state = State();
    state.ErrorReported = false;
    state.AskIfValid = 0;
    state.AllowBadRows = args.ArgAllowBad;
    state.BadRowsFound = false;
    if (args.ArgSkipGiven)
        state.ProcessingSkipFirstXLines = args.ArgSkipLines;
    if (args.ArgUnitsGiven)
        state.ConvertLengthType = args.ArgUnits;
}

void WriteRunHeader(const CommandLineOptions& args)
{
    const ProgramState& state = State();
    WriteStdOut("VXCLT " + VersionString() +
                (args.ArgCheck ? " command-line check (nothing is written)" : " command-line conversion"));
    WriteStdOut("  Input:      " + args.ArgInputPath);
    WriteStdOut("  Output:     " + args.ArgOutputPath);
    WriteStdOut("  Skip lines: " + std::to_string(state.ProcessingSkipFirstXLines));
    WriteStdOut("  Units:      " + UnitsDescription(state.ConvertLengthType));
    WriteStdOut(std::string("  Bad rows:   ") + (state.AllowBadRows ? "skip and continue" : "fail the conversion"));
}

// A template that cannot hold a mapped field is a configuration problem, found before any
// row is read rather than as a parts file without that field.
std::optional<int> CheckTemplateColumns(ConversionSession& session)
{
    if (!session.IsPrepared())
        return std::nullopt;
    std::string missing;
    try {
        missing = MappedFieldMissingFromTemplate(*session.connection(), TemplateDatabasePath());
    } catch (const std::exception&) {
        return std::nullopt; // a template that cannot be read is reported by the writer
    }
    if (missing.empty())
        return std::nullopt;
    return Fail("ERROR: " + TemplateColumnMissingText(TemplateDatabasePath(), missing), kExitConfiguration);
}

// "3 new part names: A, B, C" (the first few of many, with how many more).
void WriteNewNames(const std::vector<std::string>& names, const char* one, const char* many)
{
    if (names.empty())
        return;
    constexpr size_t kShown = 20;
    std::string line = std::to_string(names.size()) + " " + (names.size() == 1 ? one : many) + ": ";
    for (size_t i = 0; i < names.size() && i < kShown; ++i)
        line += (i ? ", " : "") + names[i];
    if (names.size() > kShown)
        line += " and " + std::to_string(names.size() - kShown) + " more";
    WriteStdOut(line);
}

// A check's ending in place of the write: what the conversion would write and what it met.
void WriteCheckSummary(ConversionSession& session, const std::string& rejectionSummary)
{
    int64_t rows = session.ValidPartsCount();
    WriteStdOut(std::to_string(rows) + (rows == 1 ? " row" : " rows") + " would be written, " +
                std::to_string(session.RowsRejected()) + " rejected.");
    if (!rejectionSummary.empty())
        WriteStdOut(rejectionSummary);
    WriteNewNames(session.NewPartNames(), "new part name", "new part names");
    WriteNewNames(session.NewMaterials(), "new material", "new materials");
}

// Steps 9 to 18 with a session that step 19 releases; a check ends where the write would begin.
int ConvertWith(ConversionSession& session, const CommandLineOptions& args)
{
    if (args.ArgCheck)
        session.CheckOnly();
    WriteStdOut("Checking parts file mapping...");
    if (!AutoProcessPartsFile(session)) {
        ReportErrorLog();
        return Fail("ERROR: The parts file mapping is incomplete. Start VXCLT normally and use 'Map Your Comma "
                    "Delimited Parts File'.",
                    kExitConfiguration);
    }

    if (auto failed = CheckTemplateColumns(session))
        return *failed;

    WriteStdOut("Reading parts file...");
    if (!args.ArgCheck)
        session.WriteRowsStraightTo(args.ArgOutputPath);
    // Another conversion still busy after the wait ends as an unexpected error (code 6).
    if (session.IsPrepared())
        session.AcquireWorkingLock();
    // A session that could not be prepared has reported why; reading it would only fail again.
    bool read = session.IsPrepared() && session.AUTOOpenPartsFile(args.ArgInputPath, FileNameOf(args.ArgInputPath));
    const std::string rejectionSummary = TheErrorLog().Summary();
    if (!read) {
        ReportErrorLog();
        if (State().BadRowsFound && args.ArgCheck) {
            WriteCheckSummary(session, rejectionSummary);
            return kExitInvalidRows;
        }
        if (State().BadRowsFound)
            return Fail("ERROR: One or more rows contained invalid data. Nothing was written. Use /allowbad to write "
                        "the valid rows anyway.",
                        kExitInvalidRows);
        return Fail("ERROR: The parts file could not be read.", kExitInputProblem);
    }
    if (State().BadRowsFound) {
        ReportErrorLog();
        WriteStdErr("WARNING: One or more rows contained invalid data and were skipped (/allowbad).");
    }
    if (State().ErrorReported)
        return Fail("ERROR: An error was reported while reading the parts file (see above). Nothing was written.",
                    kExitUnexpected);
    if (args.ArgCheck) {
        WriteCheckSummary(session, rejectionSummary);
        return kExitSuccess;
    }

    WriteStdOut("Writing Veltrax parts file...");
    if (!session.AUTOCreateROPartsFile(args.ArgOutputPath))
        return Fail("ERROR: The Veltrax parts file could not be created.", kExitOutputProblem);
    // The parts file replaces its target only once it is whole: a write that failed left the
    // target as it was.
    if (State().ErrorReported)
        return Fail("ERROR: An error was reported while writing the parts file (see above). " +
                        (session.WrittenStatus.empty() ? "Nothing was written to " + args.ArgOutputPath + "."
                                                       : args.ArgOutputPath + " may be incomplete."),
                    kExitUnexpected);
    WriteStdOut("Done: " + args.ArgOutputPath);
    return kExitSuccess;
}

int ConvertCheckedRun(ConversionSession& session)
{
    CommandLineOptions& args = CommandLineArgs();
    if (auto problem = LogFileProblem(args)) {
        SetLogPath(""); // nothing goes to a file the run must not touch
        WriteStdErr("ERROR: " + *problem);
        return Fail("Run  VXCLT.exe /help  for usage.", kExitBadArguments);
    }
    if (auto failed = CheckPaths(args))
        return *failed;
    if (auto failed = LoadConfiguration())
        return *failed;
    PrepareRunSettings(args);
    WriteRunHeader(args);
    return ConvertWith(session, args);
}

} // namespace

int RunConversion()
{
    ConversionSession session;
    int result;
    try {
        result = ConvertCheckedRun(session);
    } catch (const std::exception& e) {
        WriteStdErr(UnexpectedErrorLine(e));
        result = kExitUnexpected;
    } catch (...) {
        WriteStdErr(UnknownErrorLine());
        result = kExitUnexpected;
    }
    // Step 19: release the engine's record sets and connections; nothing is saved.
    try {
        session.Release();
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
    }
    return result;
}

void ReportErrorLog()
{
    try {
        std::string text = TheErrorLog().Text();
        size_t pos = 0;
        while ((pos = text.find("\r\n", pos)) != std::string::npos)
            text.replace(pos, 2, "\n");
        if (TrimBlanks(text).empty())
            return;
        for (const std::string& line : SplitText(text, "\n")) {
            std::string trimmed = TrimBlanks(line);
            if (!trimmed.empty())
                WriteStdErr("  " + trimmed);
        }
        TheErrorLog().ClearLog();
    } catch (...) {
        // Reporting the log is best effort; the conversion's result stands.
    }
}

namespace {
// A wait for another program's lock is one progress line at once; the run then goes on,
// or fails, as it would without the line.
class ConsoleLockWait : public LockWaitDisplay {
public:
    void begin(const std::string& text) override { WriteStdOut(text + "..."); }
    bool goOn() override { return true; }
};

// The hot folder's conversions: each one is this run with the file as its input and the
// parts file as its output, as if the run had been given just that file.
class CommandLineWatch : public WatchConversions {
public:
    explicit CommandLineWatch(const CommandLineOptions& args) : m_args(args) {}

    std::optional<std::string> LogFileProblem() override { return vx::LogFileProblem(m_args); }

    int Convert(const std::string& cutList, const std::string& partsFile) override
    {
        CommandLineOptions& args = CommandLineArgs();
        const CommandLineOptions saved = args;
        args = m_args;
        args.ArgWatchFolder.clear();
        args.ArgOnce = false;
        args.ArgInputPath = cutList;
        args.ArgOutputPath = partsFile;
        args.ArgLogPath.clear(); // the watch's log still receives every line
        int code;
        try {
            code = RunConversion();
        } catch (...) {
            args = saved;
            throw;
        }
        args = saved;
        return code;
    }

private:
    const CommandLineOptions m_args;
};
} // namespace

int RunCommandLine(int argc, char** argv)
{
    State().CommandLineMode = true;
    static ConsoleLockWait lockWaits;
    SetLockWaitDisplay(&lockWaits);
    try {
        std::vector<std::string> tokens;
        SplitCommandLine(argc, argv, tokens);
        std::string error;
        bool parsed = ParseArguments(tokens, error);
        // Help and argument errors write lines too: never into a file the log must not be.
        if ((!parsed || CommandLineArgs().ArgHelp) && LogFileProblem(CommandLineArgs()))
            SetLogPath("");
        if (!parsed) {
            WriteStdErr("ERROR: " + error);
            WriteStdErr("Run  VXCLT.exe /help  for usage.");
            return kExitBadArguments;
        }
        if (CommandLineArgs().ArgHelp) {
            ShowUsage();
            return kExitSuccess;
        }
        if (!CommandLineArgs().ArgWatchFolder.empty()) {
            const CommandLineOptions& args = CommandLineArgs();
            CommandLineWatch conversions(args);
            return RunWatch({args.ArgWatchFolder, args.ArgOutputPath, args.ArgOnce, args.ArgSettleSeconds},
                            conversions);
        }
        return RunConversion();
    } catch (const std::exception& e) {
        WriteStdErr(UnexpectedErrorLine(e));
        return kExitUnexpected;
    } catch (...) {
        WriteStdErr(UnknownErrorLine());
        return kExitUnexpected;
    }
}

} // namespace vx
