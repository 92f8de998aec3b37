#pragma once
// The tables of the removal screen: part criteria, materials and processes, each a record
// set in its grid's order, and the deletion of selected rows.
#include "config/TableStore.h"

#include <memory>
#include <string>
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

    // Deletes the rows at the given 0-based indexes of the record set, all or none (one
    // transaction); nothing else is touched. Returns the number of rows deleted.
    static int DeleteRows(RecordSet& rs, std::vector<int> indexes);
    // The question asked before the part names or materials at the indexes are deleted.
    static std::string DeleteRowsQuestion(const RecordSet& rs, const std::vector<int>& indexes);

    // The question asked before the processes at the given indexes are deleted: how many part
    // names use them and where those go (the first process).
    std::string DeleteProcessesQuestion(std::vector<int> indexes);
    // Deletes the processes at the indexes and gives the part names that used them the first
    // process, in one transaction. A selection holding the first process deletes nothing.
    // Returns the number of processes deleted.
    int DeleteProcesses(std::vector<int> indexes);

private:
    // The valid indexes, sorted, each once.
    static std::vector<int> CleanIndexes(const RecordSet& rs, std::vector<int> indexes);
    int64_t PartNamesUsing(const std::vector<int>& processIndexes);

    std::shared_ptr<Connection> m_conn;
    RecordSet m_criteria, m_materials, m_processes;
};

} // namespace vx
