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

namespace vx {

class WorkingDatabaseLock;

class ConversionSession {
public:
    ConversionSession();
    ~ConversionSession();
    ConversionSession(const ConversionSession&) = delete;
    ConversionSession& operator=(const ConversionSession&) = delete;

    // ---- Screen values (the convert screen copies its controls in and out) ----
    std::string FieldDelimiter = ",";  // from the Delimiter setting when prepared
    std::string LastFileOpened;        // proposed output name (file title without extension)
    bool GenerateLineNumbers = false;  // SEQ_NUM not mapped: number the rows 1, 2, 3 ...
    bool QuantityNotMapped = false;    // QUANTITY not mapped: every row gets 1
    std::string SkipLinesText = "0";   // the skip-lines box (cmboSkipXLines)
    int LengthConversion = 0;          // optLengthConversion: 0 none, 1 in->mm, 2 mm->in
    std::string FileOpenedLabel;       // lblFileOpened: the path read, "" after writing
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

    // ---- Criteria ----
    // Applies tblPartsCriteria to every working row (validity, process, B grade, pocket
    // holes, panel, switched dimensions, scribes, space balls).
    void ApplyPartsCriteria();

    // ---- Writing ----
    // The write sequence with a known target; an existing file is replaced.
    bool AUTOCreateROPartsFile(const std::string& f_FileName);

    // ---- Record sets the screens show ----
    int PartsCount() const; // rows in the working table
    RecordSet& PartsRS() { return m_parts; }
    RecordSet& CriteriaRS() { return m_criteria; }
    RecordSet& MappingRS() { return m_mapping; }
    RecordSet& MaterialsRS() { return m_materials; }
    RecordSet& ProcessesRS() { return m_processes; }
    const std::shared_ptr<Connection>& connection() const { return m_conn; }

private:
    Progress* m_progress;
    std::shared_ptr<Connection> m_conn;
    std::unique_ptr<WorkingDatabaseLock> m_lock;
    RecordSet m_parts, m_criteria, m_mapping, m_materials, m_processes;
};

} // namespace vx
