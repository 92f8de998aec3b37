#pragma once
// The tables of the removal screen: part criteria, materials and processes, each a record
// set in its grid's order, and the deletion of selected rows.
#include "config/TableStore.h"

#include <memory>
#include <vector>

namespace vx {

class CriteriaRemoval {
public:
    // ConnectToDB and the three record sets.
    void Open();
    void Open(std::shared_ptr<Connection> conn);
    void Close();

    RecordSet& PartsCriteria() { return m_criteria; }
    RecordSet& Materials() { return m_materials; }
    RecordSet& Processes() { return m_processes; }

    // Deletes the rows at the given 0-based indexes of the record set; nothing else is
    // touched. With keepFirstRow a selection that holds the first row deletes nothing (the
    // first process is never removed). Rows deleted before a failure stay deleted. Returns
    // the number of rows deleted.
    static int DeleteRows(RecordSet& rs, std::vector<int> indexes, bool keepFirstRow);

private:
    std::shared_ptr<Connection> m_conn;
    RecordSet m_criteria, m_materials, m_processes;
};

} // namespace vx
