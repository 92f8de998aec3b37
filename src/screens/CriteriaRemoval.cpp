#include "screens/CriteriaRemoval.h"

#include "base/NumberText.h"
#include "config/RuntimeFiles.h"

#include <algorithm>

namespace vx {

namespace {
constexpr const char* kCannotUndo = " This can not be undone.";
} // namespace

void CriteriaRemoval::Open() { Open(Connection::Open(DefDatabasePath())); }

void CriteriaRemoval::Open(std::shared_ptr<Connection> conn)
{
    m_conn = std::move(conn);
    m_criteria.Open(m_conn, "Select * from tblPartsCriteria order by Part");
    m_materials.Open(m_conn, "Select * from tblMaterials order by MATERIAL");
    m_processes.Open(m_conn, "Select * from tblProcesses order by AutoID");
}

void CriteriaRemoval::Close()
{
    m_criteria.Close();
    m_materials.Close();
    m_processes.Close();
    m_conn.reset();
}

std::vector<int> CriteriaRemoval::CleanIndexes(const RecordSet& rs, std::vector<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [&](int i) { return i < 0 || i >= rs.RecordCount(); }),
                  indexes.end());
    return indexes;
}

int CriteriaRemoval::DeleteRows(RecordSet& rs, std::vector<int> indexes)
{
    indexes = CleanIndexes(rs, std::move(indexes));
    if (indexes.empty())
        return 0;
    Transaction transaction(*rs.connection());
    try {
        // From the last to the first, so the remaining indexes stay valid.
        for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
            rs.DeleteAt(*it);
        transaction.commit();
    } catch (...) {
        rs.Requery(); // the rows rolled back are shown again
        throw;
    }
    return static_cast<int>(indexes.size());
}

std::string CriteriaRemoval::DeleteRowsQuestion(const RecordSet& rs, const std::vector<int>& indexes)
{
    size_t n = CleanIndexes(rs, indexes).size();
    std::string count = std::to_string(n);
    if (EqualsNoCase(rs.table(), "tblPartsCriteria"))
        return "Delete " + count + (n == 1 ? " part name and its criteria?" : " part names and their criteria?") +
               kCannotUndo;
    return "Delete " + count + (n == 1 ? " material?" : " materials?") + kCannotUndo;
}

int64_t CriteriaRemoval::PartNamesUsing(const std::vector<int>& processIndexes)
{
    Statement count = m_conn->Prepare("SELECT count(*) FROM tblPartsCriteria WHERE Process = ?1");
    int64_t total = 0;
    for (int i : processIndexes) {
        count.Reset();
        count.Bind(1, m_processes.ValueAt(i, m_processes.ColumnIndex("AutoID")));
        count.Step();
        total += count.ColumnLong(0);
    }
    return total;
}

std::string CriteriaRemoval::DeleteProcessesQuestion(std::vector<int> indexes)
{
    indexes = CleanIndexes(m_processes, std::move(indexes));
    if (indexes.empty() || indexes.front() == 0)
        return {};
    const int description = m_processes.ColumnIndex("Description");
    std::string names;
    for (int i : indexes)
        names += (names.empty() ? "" : ", ") + m_processes.ValueAt(i, description).toText();
    const bool several = indexes.size() > 1;
    const std::string processes = (several ? "the processes " : "the process ") + names;
    const std::string deleteIt = several ? "Delete them?" : "Delete it?";
    int64_t n = PartNamesUsing(indexes);
    if (n == 0)
        return "No part name uses " + processes + ". " + deleteIt;
    return std::to_string(n) + (n == 1 ? " part name uses " : " part names use ") + processes + ". " +
           (n == 1 ? "It" : "They") + " will go to " + m_processes.ValueAt(0, description).toText() + ". " + deleteIt;
}

int CriteriaRemoval::DeleteProcesses(std::vector<int> indexes)
{
    indexes = CleanIndexes(m_processes, std::move(indexes));
    // The first process takes the part names of the others, so it is never deleted.
    if (indexes.empty() || indexes.front() == 0)
        return 0;
    const int autoId = m_processes.ColumnIndex("AutoID");
    Transaction transaction(*m_conn);
    try {
        Statement move = m_conn->Prepare("UPDATE tblPartsCriteria SET Process = ?1 WHERE Process = ?2");
        for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
            move.Reset();
            move.Bind(1, m_processes.ValueAt(0, autoId));
            move.Bind(2, m_processes.ValueAt(*it, autoId));
            move.Run();
            m_processes.DeleteAt(*it);
        }
        transaction.commit();
    } catch (...) {
        m_processes.Requery();
        throw;
    }
    m_criteria.Requery();
    return static_cast<int>(indexes.size());
}

} // namespace vx
