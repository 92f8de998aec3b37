#include "convert/PartsFileWriter.h"

#include "config/NumberText.h"
#include "config/VxError.h"
#include "convert/FileReplace.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <unordered_map>

namespace fs = std::filesystem;

namespace vx {

namespace {
// The working rows are in the session's own table; the parts file is attached beside it.
constexpr const char* kWorkSchema = "temp";
constexpr const char* kPartsSchema = "vxparts";

std::vector<ColumnInfo> SchemaColumns(Connection& c, const std::string& schema, const std::string& table)
{
    std::vector<ColumnInfo> cols;
    Statement st = c.Prepare("PRAGMA " + SqlName(schema) + ".table_info(" + SqlName(table) + ")");
    while (st.Step()) {
        ColumnInfo ci;
        ci.name = st.ColumnText(1);
        std::string decl = UpperCase(st.ColumnText(2));
        ci.type = decl.find("TEXT") != std::string::npos || decl.find("CHAR") != std::string::npos ||
                          decl.find("CLOB") != std::string::npos || decl.find("MEMO") != std::string::npos
                      ? FieldType::Text
                      : FieldType::Other;
        cols.push_back(std::move(ci));
    }
    return cols;
}

// The first mapped field (PF_Col > 0 in the main database's mapping) without a column in
// the parts table of the given schema.
std::string MissingMappedColumn(Connection& c, const std::string& schema)
{
    std::vector<ColumnInfo> columns = SchemaColumns(c, schema, "tblParts");
    Statement mapped = c.Prepare("SELECT MainName FROM main.tblPartsFileMapping WHERE PF_Col > 0 ORDER BY IDNum");
    while (mapped.Step()) {
        std::string name = mapped.ColumnText(0);
        if (std::none_of(columns.begin(), columns.end(),
                         [&](const ColumnInfo& ci) { return EqualsNoCase(ci.name, name); }))
            return name;
    }
    return {};
}

// "INSERT INTO <parts>.tblParts (...) SELECT ... FROM <schema>.<table> AS s": every column but
// AutoIDNum from the source column of the same name (names ignore case), text never null.
// A column the source lacks fails as a missing record-set field would.
std::string CopySameNamedColumnsSql(Connection& c, const std::string& schema, const std::string& table,
                                    const std::string& errorSource)
{
    std::unordered_map<std::string, std::string> sourceColumns;
    for (const ColumnInfo& ci : SchemaColumns(c, schema, table))
        sourceColumns.emplace(UpperCase(ci.name), ci.name);
    std::string into, select;
    for (const ColumnInfo& ci : SchemaColumns(c, kPartsSchema, "tblParts")) {
        if (EqualsNoCase(ci.name, "AutoIDNum"))
            continue;
        auto it = sourceColumns.find(UpperCase(ci.name));
        if (it == sourceColumns.end())
            throw VxError(kErrItemNotFound,
                          "Item cannot be found in the collection corresponding to the requested name or ordinal. (" +
                              ci.name + ")",
                          errorSource);
        if (!into.empty()) {
            into += ", ";
            select += ", ";
        }
        into += SqlName(ci.name);
        std::string source = "s." + SqlName(it->second);
        select += ci.type == FieldType::Text ? "IFNULL(" + source + ", '')" : source;
    }
    return "INSERT INTO " + std::string(kPartsSchema) + ".tblParts (" + into + ") SELECT " + select + " FROM " +
           SqlName(schema) + "." + SqlName(table) + " AS s";
}

// Appends every part of the parts file at path, in its stored order, to the parts being built.
void AppendPartsOf(Connection& c, const std::string& path, const std::string& errorSource)
{
    constexpr const char* kSourceSchema = "vxsource";
    bool attached = false;
    try {
        // The connection never creates files, so a file that has gone is an error here.
        c.Execute("ATTACH DATABASE " + SqlQuote(path) + " AS " + kSourceSchema);
        attached = true;
        // Reading the schema is where a file that is not a database fails.
        if (!c.ScalarQuery(std::string("SELECT count(*) FROM ") + kSourceSchema +
                           ".sqlite_master WHERE type = 'table' AND name = 'tblParts' COLLATE NOCASE")
                 .toBool())
            throw VxError(kErrDatabase, "it is not a parts file (it has no table tblParts).", errorSource);
        Transaction tx(c);
        c.Execute(CopySameNamedColumnsSql(c, kSourceSchema, "tblParts", errorSource) + " ORDER BY s.rowid");
        tx.commit();
        attached = false;
        c.Execute(std::string("DETACH DATABASE ") + kSourceSchema);
    } catch (const VxError& e) {
        if (attached) {
            try {
                c.Execute(std::string("DETACH DATABASE ") + kSourceSchema);
            } catch (...) {
                // The connection is closed by the caller either way.
            }
        }
        throw VxError(e.number(), "Could not combine '" + path + "': " + e.description(), errorSource);
    }
}

// The valid working rows, in working-table order.
std::string CopyRowsSql(Connection& c, bool oneProcess)
{
    std::string sql = CopySameNamedColumnsSql(c, kWorkSchema, "tblPartsFileProcessTemplate", "CreateROPartsFile") +
                      " WHERE s.ValidPart <> 0";
    if (oneProcess)
        sql += " AND s.Process = ?1";
    return sql + " ORDER BY s.AutoIDNum";
}
} // namespace

std::string MappedFieldMissingFromTemplate(Connection& configuration, const std::string& templatePath)
{
    std::error_code ec;
    if (!fs::is_regular_file(templatePath, ec))
        return {}; // the writer reports a missing template itself
    configuration.Execute("ATTACH DATABASE " + SqlQuote(templatePath) + " AS vxtemplate");
    std::string missing;
    try {
        missing = MissingMappedColumn(configuration, "vxtemplate");
    } catch (...) {
        configuration.Execute("DETACH DATABASE vxtemplate");
        throw;
    }
    configuration.Execute("DETACH DATABASE vxtemplate");
    return missing;
}

std::string TemplateColumnMissingText(const std::string& templatePath, const std::string& column)
{
    return "The parts file template " + templatePath + " has no column " + column +
           " in tblParts, so the mapped field cannot be written.";
}

void SaveTheUserDefinedColumnNames(Connection& c, const std::string& partsSchema, bool trimLabels)
{
    Statement update =
        c.Prepare("UPDATE " + SqlName(partsSchema) + ".tblUserLabels SET UserLabel = ?1 WHERE DBName = ?2");
    Statement mapping = c.Prepare("SELECT MainName, UserLabel FROM main.tblPartsFileMapping ORDER BY IDNum");
    while (mapping.Step()) {
        update.Reset();
        update.BindText(1, trimLabels ? TrimBlanks(mapping.ColumnText(1)) : mapping.ColumnText(1));
        update.BindText(2, mapping.ColumnText(0));
        update.Run();
    }
}

namespace {
// Builds target in a temporary copy of the template beside it, attached to the connection as
// kPartsSchema: its tblParts is emptied, fillParts adds the rows and the labels, and the
// finished copy is renamed over target. The template itself is never written; on any
// failure the copy is removed and target stays as it was.
void WriteThroughTemplate(Connection& session, const std::string& templatePath, const std::string& target,
                          const std::function<void()>& fillParts, const std::string& errorSource)
{
    const std::string tmp = TemporaryPathBeside(target);
    bool attached = false;
    try {
        std::error_code ec;
        if (!fs::is_regular_file(templatePath, ec))
            throw VxError(kErrFileNotFound, "File not found: '" + templatePath + "'", errorSource);
        fs::copy_file(templatePath, tmp, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw VxError(FileErrorNumber(ec), "Could not create '" + tmp + "' (" + ec.message() + ").", errorSource);
        session.Execute("ATTACH DATABASE " + SqlQuote(tmp) + " AS " + kPartsSchema);
        attached = true;
        // A temporary copy needs no journal: on any failure it is thrown away whole.
        session.Execute(std::string("PRAGMA ") + kPartsSchema + ".journal_mode=OFF; PRAGMA " + kPartsSchema +
                        ".synchronous=OFF; PRAGMA " + kPartsSchema + ".cache_size=-16384");
        session.Execute(std::string("DELETE FROM ") + kPartsSchema + ".tblParts");
        fillParts();
        attached = false;
        session.Execute(std::string("DETACH DATABASE ") + kPartsSchema);
        ReplaceFileWith(tmp, target); // synced to disk first
    } catch (...) {
        if (attached) {
            try {
                session.Execute(std::string("DETACH DATABASE ") + kPartsSchema);
            } catch (...) {
                // The file is removed below either way.
            }
        }
        RemoveQuietly(tmp);
        throw;
    }
}
} // namespace

void WritePartsFile(Connection& session, const std::string& templatePath, const std::string& target,
                    std::optional<int32_t> process)
{
    WriteThroughTemplate(
        session, templatePath, target,
        [&] {
            // A mapped field the template cannot hold would be dropped from every row.
            std::string missing = MissingMappedColumn(session, kPartsSchema);
            if (!missing.empty())
                throw VxError(kErrItemNotFound, TemplateColumnMissingText(templatePath, missing), "CreateROPartsFile");
            Transaction tx(session);
            Statement copy = session.Prepare(CopyRowsSql(session, process.has_value()));
            if (process)
                copy.BindLong(1, *process);
            copy.Run();
            SaveTheUserDefinedColumnNames(session, kPartsSchema);
            tx.commit();
        },
        "CreateROPartsFile");
}

void WriteCombinedPartsFile(Connection& session, const std::string& templatePath,
                            const std::vector<std::string>& sources, const std::string& target, Progress& progress)
{
    constexpr const char* kSource = "CombineTheFiles";
    WriteThroughTemplate(
        session, templatePath, target,
        [&] {
            progress.start("Combining parts files", static_cast<int64_t>(sources.size()));
            try {
                for (size_t i = 0; i < sources.size(); ++i) {
                    AppendPartsOf(session, sources[i], kSource);
                    if (!progress.update(static_cast<int64_t>(i + 1)))
                        throw VxError(kErrUserInterrupt, "User interrupt occurred", kSource);
                }
            } catch (...) {
                progress.end();
                throw;
            }
            progress.end();
            SaveTheUserDefinedColumnNames(session, kPartsSchema, true);
        },
        kSource);
}

} // namespace vx
