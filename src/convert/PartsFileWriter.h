#pragma once
// The parts-file writer: the valid rows of the working table go into a copy of the runtime
// template, which then replaces the target file as a whole.
#include "config/Progress.h"
#include "config/TableStore.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// A parts file being built in a temporary copy of the template beside target, its tblParts
// emptied: attached to the session's connection, or on a connection of its own (so that a
// failure writing it never touches the session's transaction). Unless it is finished, it is
// closed and removed when it goes: target is only ever replaced whole.
class PartsFileBuild {
public:
    // Throws (leaving nothing behind) when target may not be written or the copy cannot be made.
    PartsFileBuild(Connection& session, const std::string& templatePath, const std::string& target,
                   const std::string& errorSource, bool ownConnection = false);
    ~PartsFileBuild();
    PartsFileBuild(const PartsFileBuild&) = delete;
    PartsFileBuild& operator=(const PartsFileBuild&) = delete;

    // Where rows are inserted into tblParts: the connection of its own, in one transaction.
    Connection& Rows();
    // "INSERT INTO tblParts (...) VALUES (...)" for Rows(), writing one working row as the copy
    // out of the working table would: each column from the parameter paramOf gives for the
    // working column of that (upper-case) name, else from that column's default, text never
    // null. Empty when a value could come out differently (a column the working table lacks
    // or stores with another affinity): such rows must go through the working table.
    // With rows > 1 the INSERT writes that many rows, the parameters of row k (from 0)
    // numbered from k * paramsPerRow + 1.
    std::string RowInsertSql(const std::function<int(const std::string& column)>& paramOf, int rows = 1,
                             int paramsPerRow = 0);
    // Keeps the first failure of writing rows; FinishWithLabels throws it.
    void RowsFailed(std::exception_ptr failure);
    bool HasFailed() const { return m_failure != nullptr; }
    // Detaches the copy and renames it over target, unless another program holds target.
    void Finish();
    // For rows written through Rows(): the template's check of the mapped fields and the
    // labels as WritePartsFile makes them, then Finish.
    void FinishWithLabels(const std::string& templatePath);

private:
    void Attach();
    void Discard();
    Connection& m_session;
    std::shared_ptr<Connection> m_own;
    std::string m_target, m_errorSource, m_tmp;
    bool m_attached = false;
    std::exception_ptr m_failure;
};

// Writes the valid working rows of the session's connection (only those of one process
// when given) and the mapping's labels into a temporary copy of templatePath beside target
// and renames it over target. A failure removes the temporary copy and leaves any existing
// target as it was.
void WritePartsFile(Connection& session, const std::string& templatePath, const std::string& target,
                    std::optional<int32_t> process = std::nullopt);

// Writes target from the template with every part of every source parts file appended, the
// files in the given order and each file's parts in their stored order: every tblParts column
// but AutoIDNum by name, text never null, the labels from the connection's mapping. Built in
// a temporary copy beside target like WritePartsFile: a source that cannot be read (missing,
// locked, not a parts file, lacking a column) or a stop asked through progress leaves no file
// and any existing target as it was.
void WriteCombinedPartsFile(Connection& session, const std::string& templatePath,
                            const std::vector<std::string>& sources, const std::string& target, Progress& progress);

// The first field the configuration's mapping puts in a column (PF_Col > 0) that the
// template's tblParts has no column for; empty when there is none or no template.
std::string MappedFieldMissingFromTemplate(Connection& configuration, const std::string& templatePath);
// "The parts file template <path> has no column <column> in tblParts, ..."
std::string TemplateColumnMissingText(const std::string& templatePath, const std::string& column);

// Copies every mapping label (tblPartsFileMapping of the connection's main database, mapped
// or not) into the tblUserLabels row of the same field in the schema partsSchema; fields
// without a label row are ignored. With trimLabels the blanks around each label are dropped.
void SaveTheUserDefinedColumnNames(Connection& c, const std::string& partsSchema, bool trimLabels = false);

} // namespace vx
