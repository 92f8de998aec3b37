#include "screens/FilesToCombine.h"

#include "base/Messages.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "convert/PartsFileWriter.h"
#include "screens/CriteriaRemoval.h"

namespace vx {

FilesToCombine::FilesToCombine() : m_rs(RecordSet::InMemory({{"FILE NAME", FieldType::Text}})) {}

std::vector<std::string> FilesToCombine::Paths() const
{
    std::vector<std::string> paths;
    for (int i = 0; i < m_rs.RecordCount(); ++i)
        paths.push_back(m_rs.ValueAt(i, 0).toText());
    return paths;
}

bool FilesToCombine::AddAFile(const std::string& path)
{
    for (int i = 0; i < m_rs.RecordCount(); ++i) {
        if (m_rs.ValueAt(i, 0).toText() == path)
            return true;
    }
    m_rs.AddNew();
    m_rs.SetValue(0, path);
    m_rs.Update();
    return false;
}

void FilesToCombine::AddFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (IsProgramFile(path))
            ShowMessage(FileNameOf(path) + " is a file used by this software. You can not use this file.", vbOKOnly,
                        "");
        else if (AddAFile(path))
            ShowMessage(FileNameOf(path) + " is already in the list of Files to Combine.", vbOKOnly, "");
    }
}

void FilesToCombine::RemoveFiles(const std::vector<int>& indexes) { CriteriaRemoval::DeleteRows(m_rs, indexes); }

void FilesToCombine::ClearFileList()
{
    m_rs.connection()->Execute("DELETE FROM " + SqlName(m_rs.table()));
    m_rs.Requery();
}

bool FilesToCombine::CombineTheFiles(const std::string& target, Progress& progress)
{
    if (IsProgramFile(target)) {
        ShowMessage("The file selected is a file used by this software. You can not use this file.", vbOKOnly, "");
        return false;
    }
    try {
        // The mapping's labels are read from the configuration the connection opens.
        auto conn = Connection::Open(DefDatabasePath());
        WriteCombinedPartsFile(*conn, TemplateDatabasePath(), Paths(), target, progress);
    } catch (const VxError& e) {
        // Cancel in the progress dialog is the operator's choice, not a failure to report.
        ShowMessage(e.number() == kErrUserInterrupt ? "Combining was cancelled. No file was written."
                                                    : e.standardText(),
                    vbOKOnly, "");
        return false;
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        return false;
    }
    ShowMessage("The Cutwise Parts File: " + target + ", has been created.", vbOKOnly, "");
    ClearFileList();
    return true;
}

} // namespace vx
