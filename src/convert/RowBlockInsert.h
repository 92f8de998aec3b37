#pragma once
// Rows of one INSERT written a block at a time: each row's values are kept until a block is
// full, then bound into one INSERT of many rows and stepped once. One statement per block
// spares the work SQLite does per statement (an AUTOINCREMENT table's counter is read and
// written once per statement, not once per row); the rows, their order and their keys are
// those of one INSERT per row.
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class RowBlockInsert {
public:
    static constexpr int kBlockRows = 64;

    // valuesSql(rows) gives the INSERT of that many rows, with the parameters of row k
    // (from 0) numbered k * params + 1 to k * params + params. The one-row statement is
    // prepared here (nullptr statement and the result code in prepareResult when it fails).
    RowBlockInsert(sqlite3* db, int params, std::function<std::string(int rows)> valuesSql);
    ~RowBlockInsert();
    RowBlockInsert(const RowBlockInsert&) = delete;
    RowBlockInsert& operator=(const RowBlockInsert&) = delete;

    int prepareResult() const { return m_prepareResult; }
    const std::string& oneRowSql() const { return m_oneRowSql; }

    // The values of the row being made; a value not set keeps the one of the row before.
    // Texts are kept by reference: they must live until the row is written.
    void Int(int param, int64_t value);
    void Double(int param, double value);
    void Text(int param, std::string_view value);
    // The row is complete. When that fills a block the block is written: SQLITE_DONE, or the
    // result code of the first row that failed (the rows before it are written, it and the
    // rest of the block are not, where the target keeps a journal to undo a statement).
    int EndRow();
    // Writes the complete rows kept so far, with the same result as EndRow. The row being
    // made, if any, is dropped.
    int Flush();
    size_t PendingRows() const { return m_rows; }

private:
    struct Value {
        enum Kind : uint8_t { Null, Integer, Real, String } kind = Null;
        int64_t integer = 0;
        double real = 0;
        const char* text = nullptr;
        size_t size = 0;
    };
    Value& Slot(int param) { return m_values[m_rows * static_cast<size_t>(m_params) + static_cast<size_t>(param - 1)]; }
    static void Bind(sqlite3_stmt* st, int param, const Value& v);
    int StepRows(sqlite3_stmt* st, size_t first, size_t count);
    int WriteOneByOne();

    sqlite3* m_db;
    int m_params;
    std::function<std::string(int rows)> m_valuesSql;
    std::string m_oneRowSql;
    sqlite3_stmt* m_one = nullptr;
    sqlite3_stmt* m_block = nullptr;
    bool m_blockTried = false;
    int m_prepareResult = SQLITE_OK;
    std::vector<Value> m_values; // kBlockRows + 1 rows of m_params values
    size_t m_rows = 0;           // complete rows kept
};

} // namespace vx
