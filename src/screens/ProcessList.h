#pragma once
// The processes of tblProcesses with the add and edit rules of the processes screen.
#include "config/TableStore.h"

#include <memory>
#include <string>

namespace vx {

// The processes in Description order on their own connection to the configuration database.
class ProcessList {
public:
    // ConnectToDB and GetRS.
    void Open();
    void Open(std::shared_ptr<Connection> conn);
    void Close();
    RecordSet& rs() { return m_rs; }

    // Adds a process after the checks of the add frame (messages through ShowMessage; the
    // comparisons ignore letter case). Texts are trimmed. True when the row was added.
    bool AddProcess(const std::string& Description, const std::string& FileID, const std::string& SaveFileTo);
    // Stores the edited values into the row at index (0-based), after the checks of the edit
    // frame; shows "The Changes have been Saved." on success.
    bool SaveProcessChanges(int index, const std::string& Description, const std::string& FileID,
                            const std::string& SaveFileTo);

private:
    bool Exists(const std::string& column, const std::string& value);
    bool OtherRowHas(int index, int column, const std::string& value) const;

    std::shared_ptr<Connection> m_conn;
    RecordSet m_rs;
};

} // namespace vx
