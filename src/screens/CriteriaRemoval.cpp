#include "screens/CriteriaRemoval.h"

#include "config/RuntimeFiles.h"

#include <algorithm>

namespace vx {

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

int CriteriaRemoval::DeleteRows(RecordSet& rs, std::vector<int> indexes, bool keepFirstRow)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [&](int i) { return i < 0 || i >= rs.RecordCount(); }),
                  indexes.end());
    // The first selected row is always the lowest; when it is the protected first row,
    // deleting stops before anything is removed.
    if (keepFirstRow && !indexes.empty() && indexes.front() == 0)
        return 0;
    int deleted = 0;
    // From the last to the first, so the remaining indexes stay valid.
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        rs.DeleteAt(*it);
        ++deleted;
    }
    return deleted;
}

} // namespace vx
