#include "convert/PartsFileWriter.h"

#include "config/NumberText.h"
#include "config/VxError.h"
#include "convert/FileReplace.h"

#include <algorithm>
#include <filesystem>
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

// INSERT ... SELECT of the valid working rows, column by column name; empty texts as "".
std::string CopyRowsSql(Connection& c, bool oneProcess)
{
    std::unordered_map<std::string, std::string> working;
    for (const ColumnInfo& ci : SchemaColumns(c, kWorkSchema, "tblPartsFileProcessTemplate"))
        working.emplace(UpperCase(ci.name), ci.name);
    std::string into, select;
    for (const ColumnInfo& ci : SchemaColumns(c, kPartsSchema, "tblParts")) {
        if (EqualsNoCase(ci.name, "AutoIDNum"))
            continue;
        auto it = working.find(UpperCase(ci.name));
        if (it == working.end())
            throw VxError(kErrItemNotFound,
                          "Item cannot be found in the collection corresponding to the requested name or ordinal. (" +
                              ci.name + ")",
                          "CreateROPartsFile");
        if (!into.empty()) {
            into += ", ";
            select += ", ";
        }
        into += SqlName(ci.name);
        std::string source = "w." + SqlName(it->second);
        select += ci.type == FieldType::Text ? "IFNULL(" + source + ", '')" : source;
    }
    std::string sql = "INSERT INTO " + std::string(kPartsSchema) + ".tblParts (" + into + ") SELECT " + select +
                      " FROM " + kWorkSchema + ".tblPartsFileProcessTemplate AS w WHERE w.ValidPart <> 0";
    if (oneProcess)
        sql += " AND w.Process = ?1";
    return sql + " ORDER BY w.AutoIDNum";
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

void SaveTheUserDefinedColumnNames(Connection& c, const std::string& partsSchema)
{
    Statement update =
        c.Prepare("UPDATE " + SqlName(partsSchema) + ".tblUserLabels SET UserLabel = ?1 WHERE DBName = ?2");
    Statement mapping = c.Prepare("SELECT MainName, UserLabel FROM main.tblPartsFileMapping ORDER BY IDNum");
    while (mapping.Step()) {
        update.Reset();
        update.BindText(1, mapping.ColumnText(1));
        update.BindText(2, mapping.ColumnText(0));
        update.Run();
    }
}

void WritePartsFile(Connection& session, const std::string& templatePath, const std::string& target,
                    std::optional<int32_t> process)
{
    const std::string tmp = TemporaryPathBeside(target);
    bool attached = false;
    try {
        std::error_code ec;
        if (!fs::is_regular_file(templatePath, ec))
            throw VxError(kErrFileNotFound, "File not found: '" + templatePath + "'", "CreateROPartsFile");
        fs::copy_file(templatePath, tmp, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw VxError(FileErrorNumber(ec), "Could not create '" + tmp + "' (" + ec.message() + ").",
                          "CreateROPartsFile");
        session.Execute("ATTACH DATABASE " + SqlQuote(tmp) + " AS " + kPartsSchema);
        attached = true;
        // A temporary copy needs no journal: on any failure it is thrown away whole.
        session.Execute(std::string("PRAGMA ") + kPartsSchema + ".journal_mode=OFF; PRAGMA " + kPartsSchema +
                        ".synchronous=OFF; PRAGMA " + kPartsSchema + ".cache_size=-16384");
        // A mapped field the template cannot hold would be dropped from every row.
        std::string missing = MissingMappedColumn(session, kPartsSchema);
        if (!missing.empty())
            throw VxError(kErrItemNotFound, TemplateColumnMissingText(templatePath, missing), "CreateROPartsFile");
        {
            Transaction tx(session);
            session.Execute(std::string("DELETE FROM ") + kPartsSchema + ".tblParts");
            Statement copy = session.Prepare(CopyRowsSql(session, process.has_value()));
            if (process)
                copy.BindLong(1, *process);
            copy.Run();
            SaveTheUserDefinedColumnNames(session, kPartsSchema);
            tx.commit();
        }
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

} // namespace vx
