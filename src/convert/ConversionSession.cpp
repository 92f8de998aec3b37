#include "convert/ConversionSession.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "config/modCLTSettings.h"
#include "config/modCLTTools.h"
#include "convert/PartsCriteria.h"
#include "convert/PartsFileReader.h"
#include "convert/PartsFileWriter.h"
#include "convert/ProcessFiles.h"
#include "convert/WorkingDatabaseLock.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vx {

namespace {
constexpr const char* kProgramFileMessage =
    "The file selected is a file used by this software. You can not use this file.";
constexpr const char* kNoPartsToWriteMessage =
    "You must open a comma delimited parts file, or there are no parts in the file.";
constexpr const char* kSkipLinesLabel = "Skip first x lines";
constexpr const char* kNoCurrentRecordText =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current "
    "record.";

void ShowError(const std::exception& e) { ShowMessage(StandardErrorText(e), vbOKOnly, ""); }

constexpr size_t kNamesShown = 5; // part names a message lists

std::string PartsText(int64_t count) { return std::to_string(count) + (count == 1 ? " part" : " parts"); }

// The valid rows of the working table (of one process when given): the parts a write puts out.
int64_t PartsToWrite(Connection& c, std::optional<int32_t> process = std::nullopt)
{
    Statement st = c.Prepare(std::string("SELECT count(*) FROM tblPartsFileProcessTemplate WHERE ValidPart <> 0") +
                             (process ? " AND Process = ?1" : ""));
    if (process)
        st.BindLong(1, *process);
    st.Step();
    return st.ColumnLong(0);
}
} // namespace

ConversionSession::ConversionSession() : m_progress(&NoProgress()) {}

ConversionSession::~ConversionSession() { Release(); }

// ---------------------------------------------------------------- preparing and releasing

bool ConversionSession::Prepare()
{
    try {
        Release();
        FieldDelimiter = State().Delimiter;
        LengthConversion = State().ConvertLengthType;
        FileOpenedLabel.clear();
        SkipLinesText = std::to_string(State().ProcessingSkipFirstXLines);
        ExtraSpaceBallTexts = {GetExtraSpaceBallLength(1), GetExtraSpaceBallLength(2)};
        m_conn = Connection::Open(DefDatabasePath(), 60000, m_checkOnly);
        m_conn->Execute("PRAGMA cache_size=-65536");
        CreateSessionWorkingTable();
        GetMappingRS();
        DeleteAllPartsFromTemplateFile();
        GetRS();
        GenerateLineNumbers = MappingFieldUnmapped("SEQ_NUM");
        QuantityNotMapped = MappingFieldUnmapped("QUANTITY");
        LastFileOpened.clear();
        GetPartsCriteriaRS();
        GetProcessRS();
        GetMaterialsRS();
        return true;
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
}

void ConversionSession::Release()
{
    for (RecordSet* rs : {&m_parts, &m_criteria, &m_mapping, &m_materials, &m_processes})
        rs->Close();
    m_directBuild.reset();
    m_directRows = 0;
    m_conn.reset();
    m_lock.reset();
    m_partsStale = false;
}

void ConversionSession::CreateSessionWorkingTable()
{
    // The working rows of a conversion live in a table of this connection's own that has
    // exactly the columns of the configuration's working table and shadows it by name. So
    // a million-row conversion never grows the configuration file, costs no disk sync for
    // rows that are thrown away after writing, and no other program can see or mix into
    // them.
    std::string ddl = m_conn
                          ->ScalarQuery("SELECT sql FROM main.sqlite_master WHERE type = 'table' AND "
                                        "name = 'tblPartsFileProcessTemplate' COLLATE NOCASE")
                          .toText();
    const size_t createTable = LeadingWords(ddl, {"CREATE", "TABLE"});
    if (createTable == std::string::npos)
        throw VxError(kErrDatabase, "The table 'tblPartsFileProcessTemplate' does not exist in " + m_conn->path() + ".",
                      "ConnectToDB");
    m_conn->Execute("PRAGMA temp.cache_size=-65536");
    m_workingTableDdl = "CREATE TEMP TABLE " + ddl.substr(createTable);
    m_conn->Execute(m_workingTableDdl);
}

void ConversionSession::DiscardWrittenRows()
{
    // Written rows are set aside whole instead of being deleted row by row: a console
    // conversion ends right after writing and closing the connection throws them away at no
    // cost; a screen drops them when it writes the next file.
    m_conn->Execute("DROP TABLE IF EXISTS temp.tblWrittenRows");
    m_conn->Execute("ALTER TABLE temp.tblPartsFileProcessTemplate RENAME TO tblWrittenRows");
    m_conn->Execute(m_workingTableDdl);
    m_directBuild.reset();
    m_directRows = 0;
    m_partsStale = true;
}

bool ConversionSession::MappingFieldUnmapped(const char* mainName)
{
    Statement st = m_conn->Prepare("SELECT PF_Col FROM tblPartsFileMapping WHERE MainName = ?1 ORDER BY IDNum LIMIT 1");
    st.BindText(1, mainName);
    // A mapping without the field has nothing in the file for it either.
    return !st.Step() || st.Column(0).toDouble() < 1;
}

void ConversionSession::AcquireWorkingLock()
{
    // A check's rows are its own and it learns nothing: it needs no claim on the folder.
    if (!m_lock && !m_checkOnly)
        m_lock = std::make_unique<WorkingDatabaseLock>(State().RuntimeFolder);
}

// ---------------------------------------------------------------- table operations

void ConversionSession::DeleteAllPartsFromTemplateFile()
{
    // The rows are this session's own, so emptying them needs no claim on the runtime folder:
    // a screen opens at once while another conversion runs. An empty table is left alone.
    if (m_conn->ScalarQuery("SELECT EXISTS (SELECT 1 FROM tblPartsFileProcessTemplate)").toBool())
        m_conn->Execute("Delete * from tblPartsFileProcessTemplate");
    m_partsStale = true;
}

void ConversionSession::GetRS()
{
    // Opened when first looked at: the console conversion never needs a million row keys.
    m_parts.Close();
    m_partsStale = true;
}

RecordSet& ConversionSession::PartsRS()
{
    if (m_partsStale && m_conn) {
        if (m_parts.IsOpen())
            m_parts.Requery();
        else
            m_parts.Open(m_conn, "Select * from tblPartsFileProcessTemplate");
        m_partsStale = false;
    }
    return m_parts;
}

void ConversionSession::GetPartsCriteriaRS()
{
    m_criteria.Open(m_conn, "Select * from tblPartsCriteria order by Part");
}
void ConversionSession::GetMaterialsRS() { m_materials.Open(m_conn, "Select * from tblMaterials"); }
void ConversionSession::GetMappingRS()
{
    m_mapping.Open(m_conn, "Select * from tblPartsFileMapping order by IDNum asc");
}

void ConversionSession::GetProcessRS()
{
    if (!m_checkOnly)
        m_conn->Execute("UPDATE tblProcesses SET SaveFileTo = trim(IFNULL(SaveFileTo, '')) "
                        "WHERE SaveFileTo IS NULL OR SaveFileTo <> trim(SaveFileTo)");
    m_processes.Open(m_conn, "Select * from tblProcesses order by Description");
}

bool ConversionSession::HasParts()
{
    // Rows in the working table belong to the conversion holding the lock.
    return m_conn && (m_lock || m_checkOnly) &&
           (m_directRows > 0 ||
            m_conn->ScalarQuery("SELECT EXISTS (SELECT 1 FROM tblPartsFileProcessTemplate)").toBool());
}

int ConversionSession::PartsCount()
{
    if (!m_conn || !(m_lock || m_checkOnly))
        return 0;
    return m_directRows +
           static_cast<int>(m_conn->ScalarQuery("SELECT count(*) FROM tblPartsFileProcessTemplate").rawLong());
}

void ConversionSession::CommitWorkingTable()
{
    if (!m_parts.IsOpen())
        return;
    if (m_parts.EditPending())
        m_parts.Update();
    if (!m_parts.Filter().empty())
        m_parts.SetFilter("");
    if (!m_parts.Sort().empty())
        m_parts.SetSort("");
}

std::string ConversionSession::ProcessDropDownList()
{
    std::string list;
    try {
        Statement st = m_conn->Prepare("SELECT AutoID, Description FROM tblProcesses ORDER BY Description");
        while (st.Step()) {
            if (!list.empty())
                list += "|";
            list += "#" + st.ColumnText(0) + ";" + st.ColumnText(1);
        }
        if (list.empty())
            throw VxError(kErrNoCurrentRecord, kNoCurrentRecordText, "SetProcessDropDown");
    } catch (const std::exception& e) {
        ShowError(e);
    }
    return list;
}

// ---------------------------------------------------------------- reading

bool ConversionSession::NotValidSkipLinesValue()
{
    try {
        int32_t value = 0;
        std::string message;
        if (CheckLongValue(kSkipLinesLabel, SkipLinesText, value, 0, true, message)) {
            SkipLinesText = std::to_string(value);
            return false;
        }
        ShowMessage(message, vbOKOnly, "");
    } catch (const std::exception& e) {
        ShowError(e);
    }
    return true;
}

void ConversionSession::UpdateLastFileOpenedName(const std::string& fileTitle)
{
    std::string trimmed = TrimBlanks(fileTitle);
    if (trimmed.empty()) {
        LastFileOpened.clear();
        return;
    }
    size_t dot = fileTitle.rfind('.');
    LastFileOpened = dot == std::string::npos ? fileTitle : fileTitle.substr(0, dot);
}

bool ConversionSession::OpenPartsFile(const std::string& path, const std::string& title, bool requireReaderOk)
{
    if (NotValidSkipLinesValue())
        return false;
    try {
        if (IsProgramFile(path)) {
            ShowMessage(kProgramFileMessage, vbOKOnly, "");
            return false;
        }
        AcquireWorkingLock();
        DeleteAllPartsFromTemplateFile();
        GetRS();
        GetPartsCriteriaRS();
        UpdateLastFileOpenedName(title);
        bool ok = ReadPartsFile(path, title, true);
        if (m_readCancelled || (requireReaderOk && !ok))
            return false;
        GetRS();
        GetPartsCriteriaRS();
        if (m_rowsHoldCriteria && HasParts()) {
            // The reader wrote every row with the criteria applied once, which is what
            // applying them now would give; only the boxes take the normalised lengths.
            CriteriaOptions options;
            CriteriaOptionsNow(options, false);
        } else {
            ApplyPartsCriteria();
        }
        m_rowsHoldCriteria = false;
        return true;
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
}

bool ConversionSession::OpenCommaDelimitedPartsFile(const std::string& path, const std::string& title)
{
    return ReadPartsFile(path, title, false);
}

bool ConversionSession::ReadPartsFile(const std::string& path, const std::string& title, bool applyCriteria)
{
    m_rowsHoldCriteria = false;
    m_readCancelled = false;
    try {
        AcquireWorkingLock();
        ReaderSettings settings;
        settings.delimiter = FieldDelimiter;
        settings.skipLines = ToLong(SkipLinesText);
        if (LengthConversion == 1) {
            settings.lengthFactor = 25.4;
            settings.lengthDigits = 3;
        } else if (LengthConversion == 2) {
            settings.lengthFactor = 1.0 / 25.4;
            settings.lengthDigits = 4;
        }
        settings.generateLineNumbers = GenerateLineNumbers;
        settings.quotedFields = State().QuotedFields;
        settings.lengthsWithUnits = State().LengthsWithUnits;
        settings.feetAndInches = State().FeetAndInches;
        settings.dimensionsOrder = State().DimensionsOrder;
        settings.sortDimensions = State().SortDimensions;
        settings.convertLengthType = LengthConversion;
        settings.quantityNotMapped = QuantityNotMapped;
        settings.rewriteLineEnds = !m_checkOnly;
        CriteriaOptions options;
        if (applyCriteria && CriteriaOptionsNow(options, false))
            settings.criteria = options;
        m_directBuild.reset();
        m_directRows = 0;
        if (settings.criteria && !m_directTarget.empty()) {
            try {
                m_directBuild = std::make_unique<PartsFileBuild>(*m_conn, TemplateDatabasePath(), m_directTarget,
                                                                 "CreateROPartsFile", true);
            } catch (const std::exception&) {
                // Written through the working table, the write reports what went wrong.
            }
            settings.partsFile = m_directBuild.get();
        }

        NewNameRegistry names(m_conn, !m_checkOnly);
        PartsFileReader reader(m_conn, names, *m_progress);

        reader.onDataFound = [this, &path] {
            FileOpenedLabel = path;
            TheErrorLog().ClearLog();
        };
        m_partsStale = true;
        bool ok = reader.Read(path, title, settings);
        m_newPartNames = names.NewPartNames();
        m_newMaterials = names.NewMaterials();
        m_rowsRejected = reader.RowsRejected();
        m_rowsHoldCriteria = reader.CriteriaApplied();
        if (reader.RowsInPartsFile())
            m_directRows = reader.RowsRead();
        else
            m_directBuild.reset();
        return ok;
    } catch (const VxError& e) {
        if (e.number() != kErrUserInterrupt) {
            ShowError(e);
            return false;
        }
    } catch (const std::exception& e) {
        m_directBuild.reset();
        ShowError(e);
        return false;
    }
    // Stopped by the operator: none of the file's rows stay (the part names answered for
    // do), and the screen shows an empty file.
    m_readCancelled = true;
    try {
        DeleteAllPartsFromTemplateFile();
        FileOpenedLabel.clear();
        TheErrorLog().ClearLog();
        ShowMessage(kReadingCancelledMessage, vbOKOnly, "");
    } catch (const std::exception& e) {
        ShowError(e);
    }
    return false;
}

// ---------------------------------------------------------------- criteria

void ConversionSession::ApplyPartsCriteria()
{
    try {
        if (!HasParts()) {
            ShowMessage("There are no parts.", vbOKOnly, "");
            return;
        }
        if (m_criteria.IsOpen() && !m_criteria.Filter().empty())
            m_criteria.SetFilter("");
        CriteriaOptions options;
        if (!CriteriaOptionsNow(options, true))
            return;
        CommitWorkingTable();
        m_progress->start("Applying the parts criteria", 0);
        m_progress->notCancellable();
        try {
            ApplyCriteriaToWorkingTable(*m_conn, options);
        } catch (...) {
            m_progress->end();
            m_partsStale = true;
            throw;
        }
        m_progress->end();
        m_partsStale = true;
    } catch (const std::exception& e) {
        ShowError(e);
    }
}

bool ConversionSession::CriteriaOptionsNow(CriteriaOptions& options, bool showMessage)
{
    std::string error;
    if (CriteriaOptionsFromSettings(ExtraSpaceBallTexts, options, error))
        return true;
    if (showMessage)
        ShowMessage(error, vbOKOnly, "");
    return false;
}

// ---------------------------------------------------------------- writing

int64_t ConversionSession::ValidPartsCount() { return m_conn ? PartsToWrite(*m_conn) : 0; }

bool ConversionSession::CheckPartsToWrite()
{
    try {
        if (HasParts())
            return true;
        ShowMessage(kNoPartsToWriteMessage, vbOKOnly, "");
    } catch (const std::exception& e) {
        ShowError(e);
    }
    return false;
}

void ConversionSession::CreateROPartsFile(const std::string& target)
{
    CommitWorkingTable();
    m_progress->start("Writing the parts file", 0);
    m_progress->notCancellable();
    try {
        if (m_directBuild) // the rows went straight into it, for the target the console named
            std::unique_ptr<PartsFileBuild>(std::move(m_directBuild))->FinishWithLabels(TemplateDatabasePath());
        else
            WritePartsFile(*m_conn, TemplateDatabasePath(), target);
    } catch (...) {
        m_progress->end();
        throw;
    }
    m_progress->end();
}

bool ConversionSession::WriteROPartsFile(const std::string& target)
{
    try {
        if (IsProgramFile(target)) {
            ShowMessage(kProgramFileMessage, vbOKOnly, "");
            return false;
        }
        FileOpenedLabel.clear();
        WrittenStatus.clear();
        try {
            int64_t parts = PartsToWrite(*m_conn);
            CreateROPartsFile(target);
            WrittenStatus = "Written: " + PartsText(parts) + " to " + target;
        } catch (const std::exception& e) {
            ShowError(e);
        }
        // Written once per read: the rows go, and with them the claim on the working databases.
        GetRS();
        DiscardWrittenRows();
        m_lock.reset();
        return true;
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
}

bool ConversionSession::AUTOCreateROPartsFile(const std::string& f_FileName)
{
    if (TrimBlanks(f_FileName).empty())
        return false;
    if (!CheckPartsToWrite())
        return false;
    return WriteROPartsFile(f_FileName);
}

// ---------------------------------------------------------------- process files

bool ConversionSession::MayLeavePartsWithoutProcess()
{
    Statement st = m_conn->Prepare("SELECT Part FROM tblPartsFileProcessTemplate WHERE ValidPart <> 0 AND (Process "
                                   "IS NULL OR Process NOT IN (SELECT AutoID FROM tblProcesses))");
    int64_t count = 0;
    std::vector<std::string> names;
    bool moreNames = false;
    while (st.Step()) {
        ++count;
        std::string name = st.ColumnText(0);
        if (std::find(names.begin(), names.end(), name) != names.end())
            continue;
        if (names.size() < kNamesShown)
            names.push_back(name);
        else
            moreNames = true;
    }
    if (count == 0)
        return true;
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    std::string prompt = std::to_string(count) + (count == 1 ? " valid part has" : " valid parts have") +
                         " no process (" + list + (moreNames ? ", ..." : "") + "). " + (count == 1 ? "It" : "They") +
                         " will be in no file. Continue?";
    return ShowMessage(prompt, vbYesNo + vbExclamation + vbDefaultButton2, "") == vbYes;
}

int ConversionSession::CreateFilesForProcesses(const std::string& BaseFileName, const FileCreatedFn& fileCreated,
                                               const ReplaceQuestionFn& askReplace)
{
    struct Process {
        int32_t id;
        std::string description, folder, fileId;
    };
    WrittenStatus.clear();
    int64_t partsWritten = 0;
    std::string filesWritten;
    int fileCount = 0;
    try {
        CommitWorkingTable();
        std::vector<Process> processes;
        {
            Statement st = m_conn->Prepare("SELECT AutoID, Description, trim(IFNULL(SaveFileTo, '')), FileID FROM "
                                           "tblProcesses ORDER BY Description");
            while (st.Step())
                processes.push_back({st.Column(0).toLong(), st.ColumnText(1), st.ColumnText(2), st.ColumnText(3)});
        }
        if (processes.empty())
            throw VxError(kErrNoCurrentRecord, kNoCurrentRecordText, "CreateFilesForProcesses");
        // Parts whose process is gone would be in no file: the operator hears of them first,
        // and stopping writes nothing.
        if (!MayLeavePartsWithoutProcess())
            processes.clear();
        Statement hasRows = m_conn->Prepare(
            "SELECT EXISTS (SELECT 1 FROM tblPartsFileProcessTemplate WHERE Process = ?1 AND ValidPart <> 0)");
        for (const Process& p : processes) {
            hasRows.Reset();
            hasRows.BindLong(1, p.id);
            hasRows.Step();
            bool any = hasRows.ColumnLong(0) != 0;
            hasRows.Reset();
            if (!any)
                continue;
            if (!SaveToFolderExists(p.folder)) {
                ShowMessage("The Path, " + p.folder + ", for Process, " + p.description +
                                ", does not exist. The File will not be created for this process.",
                            vbOKOnly, "");
                continue;
            }
            std::string fullPath, fileName;
            CreateProcessFileName(p.folder, BaseFileName, p.fileId, fullPath, fileName);
            if (IsFileExisting(fullPath)) {
                std::string prompt = "For Process: " + p.description + "\r\nA file named: " + fileName +
                                     "\r\nAlready exists in the folder: " + p.folder +
                                     "\r\n\r\nWould you like to replace the existing file with the new file being "
                                     "created?";
                int answer = askReplace ? askReplace(prompt) : ShowMessage(prompt, vbYesNo, "File Exists");
                if (answer != vbYes)
                    continue;
            }
            int64_t parts = PartsToWrite(*m_conn, p.id);
            WritePartsFile(*m_conn, TemplateDatabasePath(), fullPath, p.id);
            partsWritten += parts;
            filesWritten += (filesWritten.empty() ? "" : ", ") + fullPath;
            ++fileCount;
            if (fileCreated)
                fileCreated(p.description, fileName, p.folder);
        }
    } catch (const std::exception& e) {
        ShowError(e);
    }
    WrittenStatus = fileCount == 0 ? std::string("No process file was written.")
                                   : "Written: " + PartsText(partsWritten) + " in " + std::to_string(fileCount) +
                                         (fileCount == 1 ? " process file: " : " process files: ") + filesWritten;
    return fileCount;
}

int ConversionSession::DoCreateFilesForProcesses(const std::string& BaseFileName, const FileCreatedFn& fileCreated,
                                                 const ReplaceQuestionFn& askReplace)
{
    int files = CreateFilesForProcesses(BaseFileName, fileCreated, askReplace);
    // With no file written the parts stay, so the operator can mend the folders and try again.
    if (files == 0)
        return 0;
    FileOpenedLabel.clear();
    try {
        GetRS();
        DiscardWrittenRows();
        m_lock.reset();
    } catch (const std::exception& e) {
        ShowError(e);
    }
    return files;
}

// ---------------------------------------------------------------- closing

void ConversionSession::UpdateSkipFirstXRows()
{
    int32_t skip = 0;
    auto value = ParseNumber(SkipLinesText);
    if (value && *value >= 0) {
        try {
            skip = RoundToLong(*value);
        } catch (const VxError&) {
            skip = 0;
        }
    }
    State().ProcessingSkipFirstXLines = skip;
}

void ConversionSession::UpdateSpaceBalls()
{
    SetExtraSpaceBallLength(1, TrimBlanks(ExtraSpaceBallTexts[0]));
    SetExtraSpaceBallLength(2, TrimBlanks(ExtraSpaceBallTexts[1]));
}

void ConversionSession::Shutdown(int askIfValidChecked)
{
    if (askIfValidChecked != State().AskIfValid) {
        State().AskIfValid = askIfValidChecked;
        SaveMachineSettings();
    }
    AutoShutdown();
}

void ConversionSession::AutoShutdown()
{
    State().ConvertLengthType = (LengthConversion >= 0 && LengthConversion <= 2) ? LengthConversion : 0;
    UpdateSkipFirstXRows();
    SaveProcessingSettings();
    UpdateSpaceBalls();
    Release();
}

} // namespace vx
