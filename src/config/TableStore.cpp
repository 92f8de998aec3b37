#include "config/TableStore.h"

#include "base/NumberText.h"
#include "base/VxError.h"

#include <algorithm>
#include <mutex>
#include <sqlite3.h>
#include <unordered_set>

namespace vx {

// ---------------------------------------------------------------- Variant

std::string Variant::toText() const
{
    if (auto* s = std::get_if<std::string>(&m_v))
        return *s;
    if (auto* l = std::get_if<int64_t>(&m_v))
        return std::to_string(*l);
    if (auto* d = std::get_if<double>(&m_v))
        return FormatNumber(*d);
    return {};
}

double Variant::toDouble() const
{
    if (auto* l = std::get_if<int64_t>(&m_v))
        return static_cast<double>(*l);
    if (auto* d = std::get_if<double>(&m_v))
        return *d;
    if (auto* s = std::get_if<std::string>(&m_v))
        return ToDouble(*s);
    return 0.0;
}

int32_t Variant::toLong() const
{
    if (auto* l = std::get_if<int64_t>(&m_v)) {
        if (*l < INT32_MIN || *l > INT32_MAX)
            throw VxError(kErrOverflow, "Overflow");
        return static_cast<int32_t>(*l);
    }
    return RoundToLong(toDouble());
}

bool Variant::toBool() const
{
    if (isNull())
        return false;
    if (auto* s = std::get_if<std::string>(&m_v)) {
        if (EqualsNoCase(TrimBlanks(*s), "true"))
            return true;
        if (EqualsNoCase(TrimBlanks(*s), "false") || TrimBlanks(*s).empty())
            return false;
    }
    return toDouble() != 0.0;
}

// ---------------------------------------------------------------- quoting

std::string SqlQuote(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string SqlName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

// ---------------------------------------------------------------- Connection

namespace {
// Memory statistics cost a global mutex on every allocation; nothing here reads them.
void ConfigureLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}
} // namespace

std::shared_ptr<Connection> Connection::Open(const std::string& path, int busyTimeoutMs, bool readOnly)
{
    ConfigureLibraryOnce();
    std::shared_ptr<Connection> c(new Connection());
    c->m_path = path;
    int rc = sqlite3_open_v2(path.c_str(), &c->m_db,
                             (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = "Could not find or open file '" + path + "'.";
        throw VxError(rc == SQLITE_CANTOPEN ? kErrFileNotFound : kErrDatabase, msg, "TableStore");
    }
    c->m_wait.setSubject(path);
    c->m_wait.setTimeout(busyTimeoutMs);
    WaitVisiblyWhenBusy(c->m_db, c->m_wait);
    sqlite3_extended_result_codes(c->m_db, 1);
    // Touch the schema now so a file that is not a database fails at open, not later.
    char* err = nullptr;
    rc = sqlite3_exec(c->m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    c->LockWaitOver();
    if (rc != SQLITE_OK) {
        std::string detail = err ? err : "unknown failure";
        sqlite3_free(err);
        // A file another program holds locked past the wait is busy, not broken.
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            throw VxError(kErrDatabaseLocked, "The file '" + path + "' is in use (" + detail + ").", "TableStore");
        throw VxError(kErrDatabase, "Unrecognized database format '" + path + "' (" + detail + ").", "TableStore");
    }
    return c;
}

std::shared_ptr<Connection> Connection::OpenMemory()
{
    ConfigureLibraryOnce();
    std::shared_ptr<Connection> c(new Connection());
    c->m_path = ":memory:";
    if (sqlite3_open(":memory:", &c->m_db) != SQLITE_OK)
        throw VxError(kErrDatabase, "Could not create an in-memory database.", "TableStore");
    return c;
}

Connection::~Connection()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Connection::Fail(int rc, std::string_view) const
{
    std::string msg = m_db ? sqlite3_errmsg(m_db) : "no connection";
    int primary = rc & 0xff;
    int number = kErrDatabase;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        number = kErrDatabaseLocked;
    else if (primary == SQLITE_FULL)
        number = kErrDiskFull;
    else if (primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_AUTH)
        number = kErrPermissionDenied;
    // The statement is the program's own business: the operator reads what happened to which
    // file and what to do.
    std::string description = msg;
    if (primary == SQLITE_READONLY) {
        std::string file = m_path; // or the attached file that is read-only
        for (int i = 0; m_db && sqlite3_db_name(m_db, i); ++i)
            if (sqlite3_db_readonly(m_db, sqlite3_db_name(m_db, i)) == 1) {
                file = sqlite3_db_filename(m_db, sqlite3_db_name(m_db, i));
                break;
            }
        description = "The file " + file + " is read-only. Choose another file or make it writable.";
    } else if (primary == SQLITE_FULL)
        description = "There is no room on the disk for " + m_path + ". Free some space and try again.";
    else if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        description = m_path + " could not be read: it is damaged or not a database (" + msg + ").";
    throw VxError(number, description, "TableStore");
}

namespace {
// "Delete * from T" is the classic form; SQLite wants "DELETE FROM T".
std::string TranslateStatement(std::string_view sql)
{
    size_t words = LeadingWords(sql, {"delete", "*", "from"});
    return words == std::string_view::npos ? std::string(sql) : "DELETE FROM " + std::string(sql.substr(words));
}
} // namespace

void Connection::Execute(std::string_view sql)
{
    std::string text = TranslateStatement(sql);
    char* err = nullptr;
    int rc = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &err);
    LockWaitOver();
    if (err)
        sqlite3_free(err);
    if (rc != SQLITE_OK)
        Fail(rc, text);
}

Statement Connection::Prepare(std::string_view sql)
{
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &s, nullptr);
    LockWaitOver();
    if (rc != SQLITE_OK)
        Fail(rc, sql);
    return Statement(shared_from_this(), s);
}

Variant Connection::ScalarQuery(std::string_view sql)
{
    Statement st = Prepare(sql);
    if (st.Step())
        return st.Column(0);
    return {};
}

namespace {
FieldType TypeFromDeclaration(std::string decl)
{
    decl = UpperCase(decl);
    if (decl.find("BOOL") != std::string::npos || decl.find("BIT") != std::string::npos ||
        decl.find("YESNO") != std::string::npos)
        return FieldType::Boolean;
    if (decl.find("INT") != std::string::npos || decl.find("COUNTER") != std::string::npos)
        return FieldType::Long;
    if (decl.find("CHAR") != std::string::npos || decl.find("TEXT") != std::string::npos ||
        decl.find("CLOB") != std::string::npos || decl.find("MEMO") != std::string::npos)
        return FieldType::Text;
    if (decl.find("REAL") != std::string::npos || decl.find("DOUB") != std::string::npos ||
        decl.find("FLOA") != std::string::npos || decl.find("NUM") != std::string::npos ||
        decl.find("DEC") != std::string::npos || decl.find("SINGLE") != std::string::npos)
        return FieldType::Double;
    if (decl.find("DATE") != std::string::npos || decl.find("TIME") != std::string::npos)
        return FieldType::DateTime;
    return decl.empty() ? FieldType::Text : FieldType::Other;
}
} // namespace

std::vector<ColumnInfo> Connection::TableColumns(const std::string& table)
{
    std::vector<ColumnInfo> cols;
    Statement st = Prepare("PRAGMA table_info(" + SqlName(table) + ")");
    while (st.Step()) {
        ColumnInfo ci;
        ci.name = st.ColumnText(1);
        ci.type = TypeFromDeclaration(st.ColumnText(2));
        ci.primaryKey = st.ColumnLong(5) != 0 && ci.type == FieldType::Long;
        cols.push_back(std::move(ci));
    }
    return cols;
}

bool Connection::TableExists(const std::string& table)
{
    Statement st = Prepare("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE");
    st.BindText(1, table);
    return st.Step();
}

void Connection::Begin() { Execute("BEGIN IMMEDIATE"); }
void Connection::Commit() { Execute("COMMIT"); }
void Connection::Rollback()
{
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

Transaction::~Transaction()
{
    if (!m_done)
        m_c.Rollback();
}

// ---------------------------------------------------------------- Statement

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        if (m_s)
            sqlite3_finalize(m_s);
        m_c = std::move(o.m_c);
        m_s = o.m_s;
        o.m_s = nullptr;
    }
    return *this;
}

Statement::~Statement()
{
    if (m_s)
        sqlite3_finalize(m_s);
}

void Statement::Bind(int index, const Variant& v)
{
    if (v.isNull())
        BindNull(index);
    else if (v.isLong())
        BindLong(index, v.rawLong());
    else if (v.isDouble())
        BindDouble(index, v.toDouble());
    else
        BindText(index, v.toText());
}

void Statement::BindText(int index, std::string_view text)
{
    int rc = sqlite3_bind_text(m_s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_c->Fail(rc, "bind");
}
void Statement::BindDouble(int index, double v)
{
    int rc = sqlite3_bind_double(m_s, index, v);
    if (rc != SQLITE_OK)
        m_c->Fail(rc, "bind");
}
void Statement::BindLong(int index, int64_t v)
{
    int rc = sqlite3_bind_int64(m_s, index, v);
    if (rc != SQLITE_OK)
        m_c->Fail(rc, "bind");
}
void Statement::BindNull(int index)
{
    int rc = sqlite3_bind_null(m_s, index);
    if (rc != SQLITE_OK)
        m_c->Fail(rc, "bind");
}

bool Statement::Step()
{
    int rc = sqlite3_step(m_s);
    m_c->LockWaitOver();
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    std::string sql = sqlite3_sql(m_s) ? sqlite3_sql(m_s) : "";
    sqlite3_reset(m_s);
    m_c->Fail(rc, sql);
}

void Statement::Run()
{
    while (Step()) {
    }
}

void Statement::Reset()
{
    sqlite3_reset(m_s);
    sqlite3_clear_bindings(m_s);
}

int Statement::ColumnCount() const { return sqlite3_column_count(m_s); }
std::string Statement::ColumnName(int i) const { return sqlite3_column_name(m_s, i); }

Variant Statement::Column(int i) const
{
    switch (sqlite3_column_type(m_s, i)) {
    case SQLITE_INTEGER: return Variant(static_cast<int64_t>(sqlite3_column_int64(m_s, i)));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(m_s, i));
    case SQLITE_NULL: return Variant();
    default: {
        auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_s, i));
        return Variant(std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(m_s, i))));
    }
    }
}

int64_t Statement::ColumnLong(int i) const { return sqlite3_column_int64(m_s, i); }

std::string Statement::ColumnText(int i) const
{
    auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_s, i));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(m_s, i)));
}

// ---------------------------------------------------------------- RecordSet

namespace {
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Nothing but white space and at most one ";" up to the end.
bool OnlyClosing(std::string_view t)
{
    size_t i = 0;
    while (i < t.size() && IsWhiteSpace(t[i]))
        ++i;
    if (i < t.size() && t[i] == ';')
        ++i;
    while (i < t.size() && IsWhiteSpace(t[i]))
        ++i;
    return i == t.size();
}

// The shortest start of t, on one line, after which only the closing follows.
bool ClauseToEnd(std::string_view t, std::string& clause)
{
    for (size_t j = 0;; ++j) {
        if (OnlyClosing(t.substr(j))) {
            clause.assign(t.substr(0, j));
            return true;
        }
        if (j == t.size() || IsLineEnd(t[j]))
            return false;
    }
}

bool OrderByToEnd(std::string_view t, std::string& orderBy)
{
    size_t words = LeadingWords(t, {"order", "by"}, true);
    return words != std::string_view::npos && ClauseToEnd(t.substr(words), orderBy);
}

// The one query form a record set opens: "SELECT * FROM <table> [WHERE <filter>]
// [ORDER BY <order>] [;]", words in any case, the table a name, "quoted" or [bracketed].
// The filter is the shortest text (on one line) that leaves an ORDER BY or the end.
bool ParseRecordSetQuery(std::string_view sql, std::string& table, std::string& where, std::string& orderBy)
{
    size_t at = LeadingWords(sql, {"select", "*", "from"});
    if (at == std::string_view::npos || at == sql.size())
        return false;
    size_t end = at;
    if (sql[at] == '"' || sql[at] == '[') {
        end = sql.find(sql[at] == '"' ? '"' : ']', at + 1);
        if (end == std::string_view::npos || end == at + 1)
            return false;
        ++end;
    } else {
        auto nameCharacter = [](char ch) {
            return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
        };
        while (end < sql.size() && nameCharacter(sql[end]))
            ++end;
        if (end == at)
            return false;
    }
    table.assign(sql.substr(at, end - at));
    where.clear();
    orderBy.clear();
    std::string_view rest = sql.substr(end);
    size_t whereWords = LeadingWords(rest, {"where"}, true);
    if (whereWords == std::string_view::npos)
        return OrderByToEnd(rest, orderBy) || OnlyClosing(rest);
    std::string_view filter = rest.substr(whereWords);
    for (size_t i = 0;; ++i) {
        if (OrderByToEnd(filter.substr(i), orderBy) || OnlyClosing(filter.substr(i))) {
            where.assign(filter.substr(0, i));
            return true;
        }
        if (i == filter.size() || IsLineEnd(filter[i]))
            return false;
    }
}
} // namespace

void RecordSet::Open(std::shared_ptr<Connection> c, const std::string& sql)
{
    std::string table, where, orderBy;
    if (!ParseRecordSetQuery(sql, table, where, orderBy))
        throw VxError(kErrDatabase, "Unsupported record set query: " + sql, "TableStore");
    Close();
    m_conn = std::move(c);
    m_table = std::move(table);
    if (m_table.size() > 2 && (m_table.front() == '"' || m_table.front() == '['))
        m_table = m_table.substr(1, m_table.size() - 2);
    m_where = std::move(where);
    m_orderBy = std::move(orderBy);
    if (!m_conn->TableExists(m_table))
        throw VxError(kErrDatabase, "The table '" + m_table + "' does not exist in " + m_conn->path() + ".",
                      "TableStore");
    m_columns = m_conn->TableColumns(m_table);
    LoadKeys();
    m_pos = 0;
}

RecordSet RecordSet::InMemory(const std::vector<ColumnInfo>& columns)
{
    auto c = Connection::OpenMemory();
    std::string ddl = "CREATE TABLE mem (";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i)
            ddl += ", ";
        ddl += SqlName(columns[i].name);
        switch (columns[i].type) {
        case FieldType::Long: ddl += " INTEGER"; break;
        case FieldType::Double: ddl += " REAL"; break;
        case FieldType::Boolean: ddl += " BOOLEAN"; break;
        default: ddl += " TEXT COLLATE NOCASE"; break;
        }
    }
    ddl += ")";
    c->Execute(ddl);
    RecordSet rs;
    rs.Open(c, "SELECT * from mem");
    return rs;
}

void RecordSet::Close()
{
    m_fetch.reset();
    m_conn.reset();
    m_keys.clear();
    m_columns.clear();
    m_cache.clear();
    m_pending.clear();
    m_adding = false;
    m_filter.clear();
    m_sort.clear();
    m_pos = 0;
}

void RecordSet::LoadKeys()
{
    std::string sql = "SELECT rowid FROM " + SqlName(m_table);
    std::string cond;
    if (!m_where.empty())
        cond = "(" + m_where + ")";
    if (!m_filter.empty())
        cond += (cond.empty() ? "" : " AND ") + std::string("(") + m_filter + ")";
    if (!cond.empty())
        sql += " WHERE " + cond;
    std::string order = !m_sort.empty() ? m_sort : m_orderBy;
    sql += " ORDER BY " + (order.empty() ? std::string() : order + ", ") + "rowid";
    Statement st = m_conn->Prepare(sql);
    m_keys.clear();
    while (st.Step())
        m_keys.push_back(st.ColumnLong(0));
    m_cache.clear();
    m_deletedAtCursor = false;
}

int RecordSet::ColumnIndex(std::string_view name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (EqualsNoCase(m_columns[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int RecordSet::RequireColumn(std::string_view name) const
{
    int i = ColumnIndex(name);
    if (i < 0)
        throw VxError(kErrItemNotFound,
                      "Item cannot be found in the collection corresponding to the requested name or ordinal. (" +
                          std::string(name) + ")",
                      "TableStore");
    return i;
}

void RecordSet::MoveFirst()
{
    m_pos = 0;
    m_deletedAtCursor = false;
}
void RecordSet::MoveNext()
{
    if (m_deletedAtCursor)
        m_deletedAtCursor = false; // the row after a deleted one already sits at the cursor
    else if (m_pos < RecordCount())
        ++m_pos;
}
void RecordSet::MovePrevious()
{
    m_deletedAtCursor = false;
    if (m_pos >= 0)
        --m_pos;
}
void RecordSet::MoveLast()
{
    m_deletedAtCursor = false;
    m_pos = RecordCount() - 1;
}
void RecordSet::MoveTo(int index)
{
    m_deletedAtCursor = false;
    m_pos = std::clamp(index, -1, RecordCount());
}

void RecordSet::RequireCurrent() const
{
    if (m_pos < 0 || m_pos >= RecordCount() || m_deletedAtCursor)
        throw VxError(kErrNoCurrentRecord, "Either BOF or EOF is True, or the current record has been deleted.",
                      "TableStore");
}

const std::vector<Variant>& RecordSet::RowValues(int64_t rowid) const
{
    auto it = m_cache.find(rowid);
    if (it != m_cache.end())
        return it->second;
    // A grid repainted while the connection waits for a lock must not use the connection.
    if (m_conn->WaitingForLock()) {
        m_blankRow.assign(m_columns.size(), Variant());
        return m_blankRow;
    }
    if (!m_fetch)
        m_fetch =
            std::make_unique<Statement>(m_conn->Prepare("SELECT * FROM " + SqlName(m_table) + " WHERE rowid = ?1"));
    if (m_cache.size() > 4096)
        m_cache.clear();
    m_fetch->Reset();
    m_fetch->BindLong(1, rowid);
    std::vector<Variant> row(m_columns.size());
    if (m_fetch->Step()) {
        int n = std::min<int>(m_fetch->ColumnCount(), static_cast<int>(row.size()));
        for (int i = 0; i < n; ++i)
            row[static_cast<size_t>(i)] = m_fetch->Column(i);
    }
    m_fetch->Reset();
    return m_cache.emplace(rowid, std::move(row)).first->second;
}

void RecordSet::Invalidate(int64_t rowid) const { m_cache.erase(rowid); }

Variant RecordSet::Value(std::string_view column) const { return Value(RequireColumn(column)); }

Variant RecordSet::Value(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        throw VxError(kErrItemNotFound,
                      "Item cannot be found in the collection corresponding to the requested name or ordinal.",
                      "TableStore");
    auto p = m_pending.find(column);
    if (p != m_pending.end())
        return p->second;
    if (m_adding)
        return {};
    RequireCurrent();
    return RowValues(m_keys[static_cast<size_t>(m_pos)])[static_cast<size_t>(column)];
}

Variant RecordSet::Coerce(int column, const Variant& v) const
{
    if (v.isNull())
        return v;
    switch (m_columns[static_cast<size_t>(column)].type) {
    case FieldType::Text: return Variant(v.toText());
    case FieldType::Boolean: return Variant(static_cast<int64_t>(v.toBool() ? 1 : 0));
    case FieldType::Long:
        if (v.isText() && TrimBlanks(v.toText()).empty())
            return {};
        return Variant(static_cast<int64_t>(v.toLong()));
    case FieldType::Double:
        if (v.isText() && TrimBlanks(v.toText()).empty())
            return {};
        return Variant(v.toDouble());
    default: return v;
    }
}

void RecordSet::SetValue(std::string_view column, const Variant& v) { SetValue(RequireColumn(column), v); }

void RecordSet::SetValue(int column, const Variant& v)
{
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        throw VxError(kErrItemNotFound,
                      "Item cannot be found in the collection corresponding to the requested name or ordinal.",
                      "TableStore");
    if (!m_adding)
        RequireCurrent();
    m_pending[column] = Coerce(column, v);
}

void RecordSet::AddNew()
{
    m_pending.clear();
    m_adding = true;
}

void RecordSet::CancelUpdate()
{
    m_pending.clear();
    m_adding = false;
}

void RecordSet::Update()
{
    if (m_adding) {
        std::string cols, params;
        std::vector<Variant> values;
        for (auto& [col, v] : m_pending) {
            if (!cols.empty()) {
                cols += ", ";
                params += ", ";
            }
            cols += SqlName(m_columns[static_cast<size_t>(col)].name);
            params += "?" + std::to_string(values.size() + 1);
            values.push_back(v);
        }
        std::string sql = "INSERT INTO " + SqlName(m_table) +
                          (cols.empty() ? std::string(" DEFAULT VALUES") : " (" + cols + ") VALUES (" + params + ")");
        Statement st = m_conn->Prepare(sql);
        for (size_t i = 0; i < values.size(); ++i)
            st.Bind(static_cast<int>(i + 1), values[i]);
        st.Run();
        m_keys.push_back(sqlite3_last_insert_rowid(m_conn->handle()));
        m_pos = RecordCount() - 1;
        m_deletedAtCursor = false;
    } else if (!m_pending.empty()) {
        RequireCurrent();
        std::string sets;
        std::vector<Variant> values;
        for (auto& [col, v] : m_pending) {
            if (!sets.empty())
                sets += ", ";
            sets += SqlName(m_columns[static_cast<size_t>(col)].name) + " = ?" + std::to_string(values.size() + 1);
            values.push_back(v);
        }
        int64_t rowid = m_keys[static_cast<size_t>(m_pos)];
        Statement st = m_conn->Prepare("UPDATE " + SqlName(m_table) + " SET " + sets + " WHERE rowid = ?" +
                                       std::to_string(values.size() + 1));
        for (size_t i = 0; i < values.size(); ++i)
            st.Bind(static_cast<int>(i + 1), values[i]);
        st.BindLong(static_cast<int>(values.size() + 1), rowid);
        st.Run();
        Invalidate(rowid);
    }
    m_pending.clear();
    m_adding = false;
}

void RecordSet::Delete()
{
    RequireCurrent();
    DeleteAt(m_pos);
    m_deletedAtCursor = true;
}

void RecordSet::DeleteAt(int index)
{
    int64_t rowid = RowId(index);
    Statement st = m_conn->Prepare("DELETE FROM " + SqlName(m_table) + " WHERE rowid = ?1");
    st.BindLong(1, rowid);
    st.Run();
    Invalidate(rowid);
    m_keys.erase(m_keys.begin() + index);
    if (index < m_pos)
        --m_pos;
}

void RecordSet::SetFilter(const std::string& condition)
{
    m_filter = TrimBlanks(condition);
    LoadKeys();
    m_pos = 0;
}

void RecordSet::SetSort(const std::string& columns)
{
    m_sort = TrimBlanks(columns);
    LoadKeys();
    m_pos = 0;
}

void RecordSet::Requery()
{
    LoadKeys();
    m_pos = 0;
}

bool RecordSet::Find(const std::string& condition)
{
    std::unordered_set<int64_t> matches;
    Statement st = m_conn->Prepare("SELECT rowid FROM " + SqlName(m_table) + " WHERE " + condition);
    while (st.Step())
        matches.insert(st.ColumnLong(0));
    int start = std::max(0, m_pos);
    for (int i = start; i < RecordCount(); ++i) {
        if (matches.count(m_keys[static_cast<size_t>(i)])) {
            m_pos = i;
            m_deletedAtCursor = false;
            return true;
        }
    }
    m_pos = RecordCount();
    return false;
}

Variant RecordSet::ValueAt(int index, int column) const
{
    return RowValues(RowId(index)).at(static_cast<size_t>(column));
}

void RecordSet::SetValueAt(int index, int column, const Variant& v)
{
    int64_t rowid = RowId(index);
    Variant value = Coerce(column, v);
    Statement st = m_conn->Prepare("UPDATE " + SqlName(m_table) + " SET " +
                                   SqlName(m_columns.at(static_cast<size_t>(column)).name) + " = ?1 WHERE rowid = ?2");
    st.Bind(1, value);
    st.BindLong(2, rowid);
    st.Run();
    Invalidate(rowid);
}

} // namespace vx
