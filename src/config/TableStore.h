#pragma once
// The table store: connections to database files and record sets over their tables.
//
// A record set keeps only the row identities (SQLite rowids) of the rows it shows, in
// order, and reads row values on demand; edits are written straight through to the table.
// That keeps a record set over a million rows small and lets a grid model sit on it:
// row i of the set is stable until the set is requeried, filtered or sorted.
#include "config/LockWait.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vx {

// One field value: null, whole number, double or text.
class Variant {
public:
    Variant() = default;
    Variant(std::nullptr_t) {}
    Variant(int v) : m_v(static_cast<int64_t>(v)) {}
    Variant(int64_t v) : m_v(v) {}
    Variant(bool v) : m_v(static_cast<int64_t>(v ? 1 : 0)) {}
    Variant(double v) : m_v(v) {}
    Variant(std::string v) : m_v(std::move(v)) {}
    Variant(const char* v) : m_v(std::string(v)) {}
    Variant(std::string_view v) : m_v(std::string(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isText() const { return std::holds_alternative<std::string>(m_v); }
    bool isLong() const { return std::holds_alternative<int64_t>(m_v); }
    bool isDouble() const { return std::holds_alternative<double>(m_v); }

    // Null reads as empty text; numbers are written as numbers.
    std::string toText() const;
    // Null reads as 0; text must be numeric (type mismatch otherwise).
    double toDouble() const;
    // Rounded half to even; overflow beyond 32 bits.
    int32_t toLong() const;
    // Any non-zero value is true; null is false.
    bool toBool() const;
    // The stored whole number without range check (0 for other kinds).
    int64_t rawLong() const
    {
        auto* l = std::get_if<int64_t>(&m_v);
        return l ? *l : 0;
    }

    bool operator==(const Variant& o) const { return m_v == o.m_v; }

private:
    std::variant<std::monostate, int64_t, double, std::string> m_v;
};

enum class FieldType { Text, Long, Double, Boolean, DateTime, Other };

struct ColumnInfo {
    std::string name;
    FieldType type = FieldType::Text;
    bool primaryKey = false; // an autonumber key: never written by the program
};

// Returns the text quoted as an SQL string literal: O'Brien -> 'O''Brien'.
std::string SqlQuote(std::string_view text);
// Quotes an identifier (table or column name).
std::string SqlName(std::string_view name);

class Statement;

class Connection : public std::enable_shared_from_this<Connection> {
public:
    // Opens an existing database file for reading and writing; fails when it is missing
    // or is not a database. Waits up to busyTimeoutMs for another writer; the wait is shown
    // at once (LockWait) as waiting for the file. A read-only connection can change nothing
    // in the file (its TEMP tables stay writable).
    static std::shared_ptr<Connection> Open(const std::string& path, int busyTimeoutMs = 60000, bool readOnly = false);
    // A private in-memory database (in-memory record sets, tests).
    static std::shared_ptr<Connection> OpenMemory();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // Runs one or more statements that return no rows ("Delete * from T" is understood).
    void Execute(std::string_view sql);
    Statement Prepare(std::string_view sql);
    // First column of the first row, or null.
    Variant ScalarQuery(std::string_view sql);

    std::vector<ColumnInfo> TableColumns(const std::string& table);
    bool TableExists(const std::string& table);

    void Begin();
    void Commit();
    void Rollback();

    [[noreturn]] void Fail(int rc, std::string_view what) const;

    // How long a statement waits for another program's lock, and what the shown wait names
    // (the file, unless an attached one is being read).
    void SetBusyTimeout(int ms) { m_wait.setTimeout(ms); }
    void SetWaitSubject(std::string subject) { m_wait.setSubject(std::move(subject)); }
    const std::string& WaitSubject() const { return m_wait.subject(); }
    // True inside a wait for a lock: the connection must not be used until the wait ends.
    bool WaitingForLock() const { return m_wait.waiting(); }
    // Ends the shown wait once the call that waited has returned.
    void LockWaitOver() { m_wait.finish(); }

private:
    Connection() = default;
    sqlite3* m_db = nullptr;
    std::string m_path;
    LockWait m_wait{"", 60000};
};

// Commits on commit(), rolls back when destroyed before that.
class Transaction {
public:
    explicit Transaction(Connection& c) : m_c(c) { m_c.Begin(); }
    ~Transaction();
    void commit()
    {
        m_c.Commit();
        m_done = true;
    }

private:
    Connection& m_c;
    bool m_done = false;
};

class Statement {
public:
    Statement(std::shared_ptr<Connection> c, sqlite3_stmt* s) : m_c(std::move(c)), m_s(s) {}
    Statement(Statement&& o) noexcept : m_c(std::move(o.m_c)), m_s(o.m_s) { o.m_s = nullptr; }
    Statement& operator=(Statement&& o) noexcept;
    ~Statement();

    void Bind(int index, const Variant& v); // 1-based
    void BindText(int index, std::string_view text);
    void BindDouble(int index, double v);
    void BindLong(int index, int64_t v);
    void BindNull(int index);
    bool Step();  // true while a row is available
    void Run();   // step to completion
    void Reset(); // ready for new bindings
    int ColumnCount() const;
    std::string ColumnName(int i) const;
    Variant Column(int i) const; // 0-based
    int64_t ColumnLong(int i) const;
    std::string ColumnText(int i) const;

private:
    std::shared_ptr<Connection> m_c;
    sqlite3_stmt* m_s = nullptr;
};

class RecordSet {
public:
    RecordSet() = default;
    // Opens "SELECT * from <table>[ where <condition>][ order by <column> asc]".
    RecordSet(std::shared_ptr<Connection> c, const std::string& sql) { Open(std::move(c), sql); }
    void Open(std::shared_ptr<Connection> c, const std::string& sql);
    // An in-memory record set with the given columns, used only to feed a grid.
    static RecordSet InMemory(const std::vector<ColumnInfo>& columns);
    void Close();
    bool IsOpen() const { return m_conn != nullptr; }

    const std::string& table() const { return m_table; }
    const std::shared_ptr<Connection>& connection() const { return m_conn; }
    const std::vector<ColumnInfo>& Columns() const { return m_columns; }
    int ColumnIndex(std::string_view name) const; // -1 when absent (names ignore case)
    bool HasColumn(std::string_view name) const { return ColumnIndex(name) >= 0; }

    // Navigation over the visible rows.
    int RecordCount() const { return static_cast<int>(m_keys.size()); }
    bool Eof() const { return m_pos >= RecordCount(); }
    bool Bof() const { return m_pos < 0 || RecordCount() == 0; }
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    void MoveTo(int index); // 0-based
    int Position() const { return m_pos; }

    // Fields of the current row (or of the row being added).
    Variant Value(std::string_view column) const;
    Variant Value(int column) const;
    void SetValue(std::string_view column, const Variant& v);
    void SetValue(int column, const Variant& v);
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    bool EditPending() const { return m_adding || !m_pending.empty(); }

    // Restricts the visible rows; "" restores all. Moves to the first visible row.
    void SetFilter(const std::string& condition);
    const std::string& Filter() const { return m_filter; }
    // Orders the rows by a column list ("Col" or "Col desc"); "" restores the query's order.
    void SetSort(const std::string& columns);
    const std::string& Sort() const { return m_sort; }
    // Searches forward from the current row; leaves the position at EOF when not found.
    bool Find(const std::string& condition);
    // Re-reads the row identities (after statements changed the table behind the set).
    void Requery();

    // Random access for grids: row i of the visible rows.
    int64_t RowId(int index) const { return m_keys.at(static_cast<size_t>(index)); }
    Variant ValueAt(int index, int column) const;
    void SetValueAt(int index, int column, const Variant& v); // written straight through
    void DeleteAt(int index);

private:
    const std::vector<Variant>& RowValues(int64_t rowid) const;
    void RequireCurrent() const;
    void LoadKeys();
    Variant Coerce(int column, const Variant& v) const;
    int RequireColumn(std::string_view name) const;
    void Invalidate(int64_t rowid) const;

    std::shared_ptr<Connection> m_conn;
    std::string m_table, m_where, m_orderBy, m_filter, m_sort;
    std::vector<ColumnInfo> m_columns;
    std::vector<int64_t> m_keys;
    int m_pos = 0;
    bool m_deletedAtCursor = false;
    bool m_adding = false;
    std::unordered_map<int, Variant> m_pending;
    mutable std::unordered_map<int64_t, std::vector<Variant>> m_cache;
    mutable std::unique_ptr<Statement> m_fetch;
    mutable std::vector<Variant> m_blankRow;
};

} // namespace vx
