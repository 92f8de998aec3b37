#include "screens/ProcessList.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "config/RuntimeFiles.h"
#include "convert/ProcessFiles.h"

namespace vx {

namespace {
constexpr int kDescriptionCol = 1;
constexpr int kFileIDCol = 2;
constexpr int kSaveFileToCol = 3;
const char* const kNoPath = "You need to enter or select a Path for SaveFileTo.";

bool Refuse(const char* message)
{
    ShowMessage(message, vbOKOnly, "");
    return false;
}

// A folder that is not there is named where it is typed, not only when the process files
// are written; the operator may still keep it (a drive not connected yet).
bool FolderAcceptable(const std::string& folder)
{
    return SaveToFolderExists(folder) || ShowMessage("The folder " + folder + " does not exist. Save anyway?",
                                                     vbYesNo + vbExclamation + vbDefaultButton2, "") == vbYes;
}
} // namespace

void ProcessList::Open() { Open(Connection::Open(DefDatabasePath())); }

void ProcessList::Open(std::shared_ptr<Connection> conn)
{
    m_conn = std::move(conn);
    m_rs.Open(m_conn, "Select * from tblProcesses order by Description");
}

void ProcessList::Close()
{
    m_rs.Close();
    m_conn.reset();
}

bool ProcessList::Exists(const std::string& column, const std::string& value)
{
    // Quoted, so an apostrophe in the text is just a character; the column's collation
    // ignores letter case.
    m_rs.SetFilter(column + " = " + SqlQuote(value));
    bool found = m_rs.RecordCount() > 0;
    m_rs.SetFilter("");
    return found;
}

bool ProcessList::AddProcess(const std::string& Description, const std::string& FileID, const std::string& SaveFileTo)
{
    std::string description = TrimBlanks(Description);
    if (description.empty())
        return Refuse("You need to enter a Description.");
    if (m_rs.RecordCount() > 0 && Exists("Description", description))
        return Refuse("This Description already exists. Descriptions must be unique.");
    std::string fileId = TrimBlanks(FileID);
    if (fileId.empty())
        return Refuse("You need to enter a FileID.");
    if (Exists("FileID", fileId))
        return Refuse("This FileID already exists. FileIDs must be unique.");
    std::string folder = TrimBlanks(SaveFileTo);
    if (folder.empty())
        return Refuse(kNoPath);
    if (!FolderAcceptable(folder))
        return false;
    m_rs.AddNew();
    m_rs.SetValue("Description", description);
    m_rs.SetValue("FileID", fileId);
    m_rs.SetValue("SaveFileTo", folder);
    m_rs.Update();
    m_rs.Requery();
    return true;
}

bool ProcessList::OtherRowHas(int index, int column, const std::string& value) const
{
    for (int r = 0; r < m_rs.RecordCount(); ++r)
        if (r != index && EqualsNoCase(m_rs.ValueAt(r, column).toText(), value))
            return true;
    return false;
}

bool ProcessList::SaveProcessChanges(int index, const std::string& Description, const std::string& FileID,
                                     const std::string& SaveFileTo)
{
    if (index < 0 || index >= m_rs.RecordCount())
        return false;
    std::string description = TrimBlanks(Description);
    if (description.empty())
        return Refuse("You must have a Description.");
    if (OtherRowHas(index, kDescriptionCol, description))
        return Refuse("The Description matches an existing description. Descriptions must be unique.");
    std::string fileId = TrimBlanks(FileID);
    if (fileId.empty())
        return Refuse("You must have a FileID.");
    if (OtherRowHas(index, kFileIDCol, fileId))
        return Refuse("The FileID matches an existing fileid. FileIDs must be unique.");
    std::string folder = TrimBlanks(SaveFileTo);
    if (folder.empty())
        return Refuse(kNoPath);
    if (EqualsNoCase(m_rs.ValueAt(index, kSaveFileToCol).toText(), folder) &&
        EqualsNoCase(m_rs.ValueAt(index, kDescriptionCol).toText(), description) &&
        EqualsNoCase(m_rs.ValueAt(index, kFileIDCol).toText(), fileId))
        return Refuse("The edited values are the same as the current values. No changes have been made.");
    if (!FolderAcceptable(folder))
        return false;
    m_rs.SetValueAt(index, kDescriptionCol, description);
    m_rs.SetValueAt(index, kFileIDCol, fileId);
    m_rs.SetValueAt(index, kSaveFileToCol, folder);
    ShowMessage("The Changes have been Saved.", vbOKOnly, "");
    return true;
}

} // namespace vx
