#include "convert/RowBlockInsert.h"

#include <algorithm>
#include <cstddef>

namespace vx {

RowBlockInsert::RowBlockInsert(sqlite3* db, int params, std::function<std::string(int rows)> valuesSql)
    : m_db(db), m_params(std::max(params, 1)), m_valuesSql(std::move(valuesSql)), m_oneRowSql(m_valuesSql(1)),
      m_values(static_cast<size_t>(m_params) * (kBlockRows + 1))
{
    m_prepareResult = sqlite3_prepare_v2(m_db, m_oneRowSql.c_str(), -1, &m_one, nullptr);
}

RowBlockInsert::~RowBlockInsert()
{
    sqlite3_finalize(m_block);
    sqlite3_finalize(m_one);
}

void RowBlockInsert::Int(int param, int64_t value)
{
    Value& v = Slot(param);
    v.kind = Value::Integer;
    v.integer = value;
}

void RowBlockInsert::Double(int param, double value)
{
    Value& v = Slot(param);
    v.kind = Value::Real;
    v.real = value;
}

void RowBlockInsert::Text(int param, std::string_view value)
{
    Value& v = Slot(param);
    v.kind = Value::String;
    v.text = value.data() ? value.data() : "";
    v.size = value.size();
}

int RowBlockInsert::EndRow()
{
    // The next row starts with this row's values, as a statement keeps its bindings.
    const size_t n = static_cast<size_t>(m_params);
    std::copy_n(m_values.begin() + static_cast<std::ptrdiff_t>(m_rows * n), n,
                m_values.begin() + static_cast<std::ptrdiff_t>((m_rows + 1) * n));
    ++m_rows;
    return m_rows == kBlockRows ? Flush() : SQLITE_DONE;
}

int RowBlockInsert::Flush()
{
    if (m_rows == 0)
        return SQLITE_DONE;
    int rc = SQLITE_DONE;
    if (m_rows == kBlockRows && !m_blockTried) {
        m_blockTried = true;
        // Without it (a limit of this SQLite) every row goes one by one.
        if (sqlite3_prepare_v2(m_db, m_valuesSql(kBlockRows).c_str(), -1, &m_block, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_block);
            m_block = nullptr;
        }
    }
    // A failed block is undone as one statement (where the target keeps a journal): its rows
    // go again one by one, so that the rows before the failing one are written and the
    // failure is that row's.
    if (m_rows < kBlockRows || !m_block || StepRows(m_block, 0, kBlockRows) != SQLITE_DONE)
        rc = WriteOneByOne();
    // The row being made keeps the last row's values as its start.
    const size_t n = static_cast<size_t>(m_params);
    std::copy_n(m_values.begin() + static_cast<std::ptrdiff_t>(m_rows * n), n, m_values.begin());
    m_rows = 0;
    return rc;
}

void RowBlockInsert::Bind(sqlite3_stmt* st, int param, const Value& v)
{
    switch (v.kind) {
    case Value::Null: sqlite3_bind_null(st, param); break;
    case Value::Integer: sqlite3_bind_int64(st, param, v.integer); break;
    case Value::Real: sqlite3_bind_double(st, param, v.real); break;
    case Value::String: sqlite3_bind_text64(st, param, v.text, v.size, SQLITE_STATIC, SQLITE_UTF8); break;
    }
}

int RowBlockInsert::StepRows(sqlite3_stmt* st, size_t first, size_t count)
{
    const Value* v = &m_values[first * static_cast<size_t>(m_params)];
    const int total = static_cast<int>(count) * m_params;
    for (int p = 1; p <= total; ++p, ++v)
        Bind(st, p, *v);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    return rc;
}

int RowBlockInsert::WriteOneByOne()
{
    for (size_t row = 0; row < m_rows; ++row) {
        int rc = StepRows(m_one, row, 1);
        if (rc != SQLITE_DONE)
            return rc;
    }
    return SQLITE_DONE;
}

} // namespace vx
