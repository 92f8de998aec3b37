#include "convert/PartsFileWriter.h"

#include "base/NumberText.h"
#include "base/VxError.h"
#include "convert/FileReplace.h"
#include "convert/TargetDatabaseClaim.h"

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
    // A DIMENSIONS cell is written into the width, length and thickness columns.
    Statement mapped = c.Prepare("SELECT MainName FROM main.tblPartsFileMapping WHERE PF_Col > 0 AND MainName <> "
                                 "'DIMENSIONS' ORDER BY IDNum");
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
    bool attached = false, recognised = false;
    // A wait while reading names the file read, not the configuration.
    const std::string subject = c.WaitSubject();
    c.SetWaitSubject(path);
    struct RestoreSubject {
        Connection& c;
        const std::string& subject;
        ~RestoreSubject() { c.SetWaitSubject(subject); }
    } restore{c, subject};
    try {
        // The connection never creates files, so a file that has gone is an error here.
        c.Execute("ATTACH DATABASE " + SqlQuote(path) + " AS " + kSourceSchema);
        attached = true;
        // Reading the schema is where a file that is not a database fails.
        if (!c.ScalarQuery(std::string("SELECT count(*) FROM ") + kSourceSchema +
                           ".sqlite_master WHERE type = 'table' AND name = 'tblParts' COLLATE NOCASE")
                 .toBool())
            throw VxError(kErrDatabase, "it has no table tblParts", errorSource);
        recognised = true;
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
        std::error_code ec;
        if (!fs::is_regular_file(path, ec))
            throw VxError(kErrFileNotFound, "The file " + path + " could not be found. Choose it again.", errorSource);
        // A file that is no database, or one without the parts table, is one plain case.
        if (!recognised && e.number() == kErrDatabase)
            throw VxError(e.number(), path + " could not be read: it is not a parts file.", errorSource);
        throw VxError(e.number(), "Could not combine " + path + ": " + e.description(), errorSource);
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

PartsFileBuild::PartsFileBuild(Connection& session, const std::string& templatePath, const std::string& target,
                               const std::string& errorSource, bool ownConnection)
    : m_session(session), m_target(target), m_errorSource(errorSource), m_tmp(TemporaryPathBeside(target))
{
    try {
        // A target that may not be written is refused before any work is done for it.
        RequireReplaceable(target, errorSource);
        std::error_code ec;
        if (!fs::is_regular_file(templatePath, ec))
            throw VxError(kErrFileNotFound, "File not found: '" + templatePath + "'", errorSource);
        fs::copy_file(templatePath, m_tmp, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw FileWriteError(target, ec, errorSource);
        if (ownConnection) {
            m_own = Connection::Open(m_tmp);
            // A temporary copy needs no journal: on any failure it is thrown away whole.
            m_own->Execute("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-16384");
            m_own->Execute("DELETE FROM tblParts");
            m_own->Begin();
        } else {
            Attach();
            m_session.Execute(std::string("DELETE FROM ") + kPartsSchema + ".tblParts");
        }
    } catch (...) {
        Discard();
        throw;
    }
}

void PartsFileBuild::Attach()
{
    m_session.Execute("ATTACH DATABASE " + SqlQuote(m_tmp) + " AS " + kPartsSchema);
    m_attached = true;
    // A temporary copy needs no journal: on any failure it is thrown away whole.
    m_session.Execute(std::string("PRAGMA ") + kPartsSchema + ".journal_mode=OFF; PRAGMA " + kPartsSchema +
                      ".synchronous=OFF; PRAGMA " + kPartsSchema + ".cache_size=-16384");
}

namespace {
// The affinity SQLite gives a column of this declared type.
char Affinity(const std::string& declared)
{
    std::string d = UpperCase(declared);
    auto has = [&d](const char* part) { return d.find(part) != std::string::npos; };
    if (has("INT"))
        return 'i';
    if (has("CHAR") || has("CLOB") || has("TEXT"))
        return 't';
    if (d.empty() || has("BLOB"))
        return 'b';
    if (has("REAL") || has("FLOA") || has("DOUB"))
        return 'r';
    return 'n';
}

struct DeclaredColumn {
    std::string declared, defaultSql;
    bool notNull = false;
};

std::unordered_map<std::string, DeclaredColumn> DeclaredColumns(Connection& c, const std::string& schema,
                                                                const std::string& table)
{
    std::unordered_map<std::string, DeclaredColumn> cols;
    Statement st = c.Prepare("PRAGMA " + SqlName(schema) + ".table_info(" + SqlName(table) + ")");
    while (st.Step())
        cols[UpperCase(st.ColumnText(1))] = {st.ColumnText(2), st.Column(4).isNull() ? "NULL" : st.ColumnText(4),
                                             st.ColumnLong(3) != 0};
    return cols;
}
} // namespace

namespace {
// True for one SQL string literal ('it''s'), whose IFNULL with '' is itself.
bool IsStringLiteral(const std::string& sql)
{
    if (sql.size() < 2 || sql.front() != '\'' || sql.back() != '\'')
        return false;
    for (size_t i = 1; i + 1 < sql.size(); ++i) {
        if (sql[i] != '\'')
            continue;
        // A quote inside is doubled, and not by the closing one.
        if (i + 2 >= sql.size() || sql[i + 1] != '\'')
            return false;
        ++i;
    }
    return true;
}
} // namespace

std::string PartsFileBuild::RowInsertSql(const std::function<int(const std::string& column)>& paramOf, int rows,
                                         int paramsPerRow)
{
    if (!m_own)
        return {};
    auto working = DeclaredColumns(m_session, kWorkSchema, "tblPartsFileProcessTemplate");
    auto parts = DeclaredColumns(Rows(), "main", "tblParts");
    // Per column: the parameter of its value, or (0) the SQL of its default.
    std::vector<std::pair<int, std::string>> columns;
    std::string into;
    for (const ColumnInfo& ci : SchemaColumns(Rows(), "main", "tblParts")) {
        if (EqualsNoCase(ci.name, "AutoIDNum"))
            continue;
        auto it = working.find(UpperCase(ci.name));
        // Storing a value twice with the same affinity stores it as once; with two
        // different ones it may not.
        if (it == working.end() || Affinity(it->second.declared) != Affinity(parts.at(it->first).declared))
            return {};
        std::string value;
        int param = paramOf(it->first); // the reader never binds a null
        if (!param) {
            const std::string& defaultSql = it->second.defaultSql;
            if (it->second.notNull && defaultSql == "NULL")
                return {}; // the working table would refuse the row
            if (ci.type != FieldType::Text)
                value = defaultSql;
            else if (defaultSql == "NULL")
                value = "''";
            else
                value = IsStringLiteral(defaultSql) ? defaultSql : "IFNULL(" + defaultSql + ", '')";
        }
        columns.emplace_back(param, std::move(value));
        into += (into.empty() ? "" : ", ") + SqlName(ci.name);
    }
    std::string sql = "INSERT INTO tblParts (" + into + ") VALUES ";
    for (int r = 0; r < rows; ++r) {
        sql += r ? ", (" : "(";
        for (size_t i = 0; i < columns.size(); ++i) {
            const auto& [param, value] = columns[i];
            sql += i ? ", " : "";
            sql += param ? "?" + std::to_string(r * paramsPerRow + param) : value;
        }
        sql += ")";
    }
    return sql;
}

PartsFileBuild::~PartsFileBuild() { Discard(); }

Connection& PartsFileBuild::Rows() { return m_own ? *m_own : m_session; }

void PartsFileBuild::RowsFailed(std::exception_ptr failure)
{
    if (!m_failure)
        m_failure = failure;
}

void PartsFileBuild::Finish()
{
    try {
        m_attached = false;
        m_session.Execute(std::string("DETACH DATABASE ") + kPartsSchema);
        ReplaceDatabaseFileWith(m_tmp, m_target, m_errorSource); // synced to disk first
        m_tmp.clear();
    } catch (...) {
        Discard();
        throw;
    }
}

void PartsFileBuild::Discard()
{
    m_own.reset();
    if (m_attached) {
        m_attached = false;
        try {
            m_session.Execute(std::string("DETACH DATABASE ") + kPartsSchema);
        } catch (...) {
            // The file is removed below either way.
        }
    }
    if (!m_tmp.empty())
        RemoveQuietly(m_tmp);
    m_tmp.clear();
}

namespace {
// Builds target in a temporary copy of the template (see PartsFileBuild): fillParts adds the
// rows and the labels. The template itself is never written; on any failure the copy is
// removed and target stays as it was.
void WriteThroughTemplate(Connection& session, const std::string& templatePath, const std::string& target,
                          const std::function<void()>& fillParts, const std::string& errorSource)
{
    PartsFileBuild build(session, templatePath, target, errorSource);
    fillParts();
    build.Finish();
}

// The template's check and the labels, around the rows that addRows puts into tblParts.
void FillParts(Connection& session, const std::string& templatePath, const std::function<void()>& addRows)
{
    // A mapped field the template cannot hold would be dropped from every row.
    std::string missing = MissingMappedColumn(session, kPartsSchema);
    if (!missing.empty())
        throw VxError(kErrItemNotFound, TemplateColumnMissingText(templatePath, missing), "CreateROPartsFile");
    Transaction tx(session);
    addRows();
    SaveTheUserDefinedColumnNames(session, kPartsSchema);
    tx.commit();
}
} // namespace

void PartsFileBuild::FinishWithLabels(const std::string& templatePath)
{
    try {
        if (m_failure)
            std::rethrow_exception(m_failure);
        if (m_own) {
            m_own->Commit();
            m_own.reset();
            Attach();
        }
        FillParts(m_session, templatePath, [] {});
    } catch (...) {
        Discard();
        throw;
    }
    Finish();
}

void WritePartsFile(Connection& session, const std::string& templatePath, const std::string& target,
                    std::optional<int32_t> process)
{
    WriteThroughTemplate(
        session, templatePath, target,
        [&] {
            FillParts(session, templatePath, [&] {
                Statement copy = session.Prepare(CopyRowsSql(session, process.has_value()));
                if (process)
                    copy.BindLong(1, *process);
                copy.Run();
            });
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
