#pragma once
// One conversion of a delimited parts file into a Veltrax parts file.
//
// The convert screen owns one session and maps its controls onto the session's screen
// values; the console conversion drives the same session with no screen at all. The
// session holds the connection to the configuration database and the record sets of the
// working table, the mapping, the part criteria, the materials and the processes.
//
// Every public procedure catches its own failures and reports them through ShowMessage
// with the standard "Error: <number>, <description>, <source>" text, as the screen's
// handlers would.
#include "config/Progress.h"
#include "config/TableStore.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx {

class PartsFileBuild;
class WorkingDatabaseLock;

class ConversionSession {
public:
    ConversionSession();
    ~ConversionSession();
    ConversionSession(const ConversionSession&) = delete;
    ConversionSession& operator=(const ConversionSession&) = delete;

    // ---- Screen values (the convert screen copies its controls in and out) ----
    std::string FieldDelimiter = ",";               // from the Delimiter setting when prepared
    std::string LastFileOpened;                     // proposed output name (file title without extension)
    bool GenerateLineNumbers = false;               // SEQ_NUM not mapped: number the rows 1, 2, 3 ...
    bool QuantityNotMapped = false;                 // QUANTITY not mapped: every row gets 1
    std::string SkipLinesText = "0";                // the skip-lines box (cmboSkipXLines)
    int LengthConversion = 0;                       // optLengthConversion: 0 none, 1 in->mm, 2 mm->in
    std::string FileOpenedLabel;                    // lblFileOpened: the path read, "" after writing
    std::string WrittenStatus;                      // lblWritten: what the last write put where
    std::array<std::string, 2> ExtraSpaceBallTexts; // txtExtraSpaceBalls 0 and 1

    // Long reads and writes report here (the windowed program shows a progress dialog).
    void SetProgress(Progress* progress) { m_progress = progress ? progress : &NoProgress(); }

    // ---- Preparing and releasing (the convert screen's Display and shutdowns) ----
    // Copies delimiter, skip count, length conversion and extra space balls from the
    // settings, connects to the configuration database, opens the record sets, empties
    // the working table and works out GenerateLineNumbers / QuantityNotMapped.
    bool Prepare();
    // Releases record sets, connections and the working-database lock; saves nothing.
    void Release();
    bool IsPrepared() const { return m_conn != nullptr; }

    // ---- Reading ----
    // The skip-lines check; shows its message and returns true when the box is refused.
    bool NotValidSkipLinesValue();
    // The open sequence. With requireReaderOk (AUTOOpenPartsFile) the criteria are applied
    // only when the reader succeeded; the screen's open button applies them in any case so
    // the valid rows show beside the error log.
    bool OpenPartsFile(const std::string& path, const std::string& title, bool requireReaderOk);
    bool AUTOOpenPartsFile(const std::string& f_FileName, const std::string& f_FileTitle)
    {
        return OpenPartsFile(f_FileName, f_FileTitle, true);
    }
    bool OpenCommaDelimitedPartsFile(const std::string& path, const std::string& title);
    // LastFileOpened = the title without everything from its last ".".
    void UpdateLastFileOpenedName(const std::string& fileTitle);

    // ---- Criteria ----
    // Applies tblPartsCriteria to every working row (validity, process, B grade, pocket
    // holes, panel, switched dimensions, scribes, space balls).
    void ApplyPartsCriteria();

    // ---- Writing ----
    // The write sequence with a known target; an existing file is replaced.
    bool AUTOCreateROPartsFile(const std::string& f_FileName);
    // Step 1 of the write sequence (before the screen's save dialog): false, with the
    // message, when there is nothing to write.
    bool CheckPartsToWrite();
    // Steps 2 to 7 for a chosen target (the screen's button after its save dialog):
    // refuses program files, writes, empties the working table.
    bool WriteROPartsFile(const std::string& target);
    // Writes the valid rows into a copy of the runtime template that replaces target
    // (throws on failure; the target is then left as it was).
    void CreateROPartsFile(const std::string& target);

    // ---- Process files ----
    // Called for each file written: process description, file name, folder.
    using FileCreatedFn =
        std::function<void(const std::string& process, const std::string& fileName, const std::string& folder)>;
    // Asks whether an existing process file may be replaced (returns vbYes/vbNo); by default
    // the "File Exists" question through ShowMessage.
    using ReplaceQuestionFn = std::function<int(const std::string& prompt)>;
    // One parts file per process into each process's folder; returns the number written.
    // Valid parts whose process is gone are named first, with the choice to stop.
    int CreateFilesForProcesses(const std::string& BaseFileName, const FileCreatedFn& fileCreated,
                                const ReplaceQuestionFn& askReplace = {});
    // CreateFilesForProcesses, then the working table is emptied when a file was written.
    int DoCreateFilesForProcesses(const std::string& BaseFileName, const FileCreatedFn& fileCreated,
                                  const ReplaceQuestionFn& askReplace = {});
    // The grids' Process drop-down: "#" + AutoID + ";" + Description, joined with "|"; without
    // any process the error is shown and the list is empty.
    std::string ProcessDropDownList();

    // ---- The convert screen's closing ----
    // Stores the check box's AskIfValid (saving the machine settings when it changed), then
    // as AutoShutdown.
    void Shutdown(int askIfValidChecked);
    // Stores length conversion, skip count and extra space balls, saves the processing
    // settings and releases everything.
    void AutoShutdown();
    // The console's: nothing waits on the working table, so the next read may write the
    // valid rows straight into a temporary copy of the template beside target, which the
    // write then puts in place (the parts file is the same as through the working table).
    void WriteRowsStraightTo(const std::string& target) { m_directTarget = target; }
    // The console's: releases only, saves nothing.
    void CommandLineShutdown() { Release(); }
    // The console's check of a file, set before Prepare: the configuration is opened read-only,
    // no part name or material is learned, a bare-LF file is not rewritten and no lock file
    // is taken; the rows stay in this session's own table.
    void CheckOnly() { m_checkOnly = true; }
    // After a read: the valid rows a write would put out, the rows rejected, and the names
    // met for the first time (learned, or in a check only listed).
    int64_t ValidPartsCount();
    int32_t RowsRejected() const { return m_rowsRejected; }
    const std::vector<std::string>& NewPartNames() const { return m_newPartNames; }
    const std::vector<std::string>& NewMaterials() const { return m_newMaterials; }

    // ---- Table operations the screens repeat ----
    void DeleteAllPartsFromTemplateFile();
    void GetRS();
    void GetPartsCriteriaRS();
    void GetMaterialsRS();
    void GetProcessRS();
    void GetMappingRS();
    // True when this session has read rows that are still in the working table.
    bool HasParts();

    // ---- Record sets the screens show ----
    int PartsCount(); // rows of this session in the working table
    RecordSet& PartsRS();
    RecordSet& CriteriaRS() { return m_criteria; }
    RecordSet& MappingRS() { return m_mapping; }
    RecordSet& MaterialsRS() { return m_materials; }
    RecordSet& ProcessesRS() { return m_processes; }
    const std::shared_ptr<Connection>& connection() const { return m_conn; }

    // Claims the runtime folder's working databases for this conversion until its rows are
    // written or it is released; waits for another conversion, bounded, then throws the
    // locked error. Reading claims them itself; the console driver claims them first so a
    // busy folder is an error of its own, not an unreadable input.
    void AcquireWorkingLock();

private:
    void CreateSessionWorkingTable();
    void DiscardWrittenRows();
    // True when no valid part lacks a process, or the operator goes on without them.
    bool MayLeavePartsWithoutProcess();
    void CommitWorkingTable();
    void UpdateSkipFirstXRows();
    void UpdateSpaceBalls();
    bool MappingFieldUnmapped(const char* mainName);
    bool ReadPartsFile(const std::string& path, const std::string& title, bool applyCriteria);
    // The rules of the current settings; false (with the message when asked) when the extra
    // space-ball lengths are refused.
    bool CriteriaOptionsNow(struct CriteriaOptions& options, bool showMessage);

    Progress* m_progress;
    bool m_partsStale = false;
    bool m_rowsHoldCriteria = false; // the reader applied the criteria to the rows it wrote
    bool m_readCancelled = false;    // the last read was stopped by the operator
    bool m_checkOnly = false;
    int32_t m_rowsRejected = 0;
    std::vector<std::string> m_newPartNames, m_newMaterials;
    std::shared_ptr<Connection> m_conn;
    std::string m_workingTableDdl; // creates this session's working table
    std::unique_ptr<WorkingDatabaseLock> m_lock;
    std::string m_directTarget;
    std::unique_ptr<PartsFileBuild> m_directBuild; // the rows read, when they went straight into it
    int32_t m_directRows = 0;                      // rows read into m_directBuild, valid or not
    RecordSet m_parts, m_criteria, m_mapping, m_materials, m_processes;
};

} // namespace vx
