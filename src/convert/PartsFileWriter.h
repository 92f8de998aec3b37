#pragma once
// The parts-file writer: the valid rows of the working table go into a copy of the runtime
// template, which then replaces the target file as a whole.
#include "config/Progress.h"
#include "config/TableStore.h"

#include <optional>
#include <string>
#include <vector>

namespace vx {

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
