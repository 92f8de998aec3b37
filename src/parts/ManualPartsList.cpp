#include "parts/ManualPartsList.h"

#include "config/RuntimeFiles.h"
#include "config/VxError.h"
#include "convert/FileReplace.h"
#include "convert/PartsFileWriter.h"
#include "parts/PartRow.h"
#include "parts/cCLTPart.h"
#include "start/ProgramState.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vx {

namespace {
constexpr const char* kManualSchema = "vxmanual";
}

void ManualPartsList::ConnectToDefDB() { m_def = Connection::Open(DefDatabasePath()); }

void ManualPartsList::GetMappingRS() { m_mapping = MappingFields::Read(*m_def); }

void ManualPartsList::GetPartsCriteriaRS() { m_criteria.Open(m_def, "Select * from tblPartsCriteria order by Part"); }

void ManualPartsList::GetMaterialsRS() { m_materials.Open(m_def, "Select * from tblMaterials order by Material"); }

void ManualPartsList::ConnectToDB()
{
    DisConnectFromDB();
    m_work = Connection::Open(ManualDatabasePath());
}

void ManualPartsList::DeleteAllParts() { m_work->Execute("Delete * from tblParts"); }

void ManualPartsList::GetPartsRS() { m_parts.Open(m_work, "Select * from tblParts"); }

void ManualPartsList::DisConnectFromDB()
{
    m_parts.Close();
    m_work.reset();
}

void ManualPartsList::Close()
{
    DisConnectFromDB();
    m_criteria.Close();
    m_materials.Close();
    m_def.reset();
}

void ManualPartsList::AddPart(const cCLTPart& part, int32_t seqNum) { AppendPartRow(m_parts, part, seqNum, ""); }

void ManualPartsList::CheckForNewPart(const std::string& sPartName)
{
    LearnPartName(*m_def, sPartName);
    m_criteria.Requery();
}

void ManualPartsList::CheckForNewMaterial(const std::string& sMaterialName)
{
    LearnMaterial(*m_def, sMaterialName);
    m_materials.Requery();
}

void ManualPartsList::DeleteRows(const std::vector<int64_t>& keys)
{
    DeletePartRows(*m_work, keys);
    m_parts.SetFilter("");
    m_parts.Requery();
}

void ManualPartsList::SaveMappingChanges(const std::vector<MappingField>& rows)
{
    SaveManualFieldChoices(*m_def, rows);
    GetMappingRS();
}

std::string FileNameFromTitle(const std::string& title)
{
    std::string name = title;
    for (size_t pos; (pos = name.find(".rdb")) != std::string::npos;)
        name.erase(pos, 4);
    return name;
}

namespace {
// The working database copied into place through a temporary file beside the target; a
// target the program may not replace is refused before anything is written.
void CopyDatabaseTo(const std::string& source, const std::string& target)
{
    std::error_code ec;
    if (fs::exists(target, ec) && !MayReplaceFile(target))
        throw VxError(kErrPermissionDenied, ReadOnlyFileText(target), "CreatePartsFile");
    const std::string tmp = TemporaryPathBeside(target);
    try {
        fs::copy_file(source, tmp, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw FileWriteError(target, ec, "CreatePartsFile");
        ReplaceFileWith(tmp, target); // synced to disk first
    } catch (...) {
        RemoveQuietly(tmp);
        throw;
    }
}
} // namespace

void ManualPartsList::CreatePartsFile(const std::string& sFileName, const std::string& sFileTitle, bool numberRows)
{
    DisConnectFromDB();
    const std::string source = ManualDatabasePath();
    Connection& def = *m_def;
    def.Execute("ATTACH DATABASE " + SqlQuote(source) + " AS " + kManualSchema);
    try {
        Transaction tx(def);
        Statement name = def.Prepare(std::string("UPDATE ") + kManualSchema + ".tblParts SET FileName = ?1");
        name.BindText(1, FileNameFromTitle(sFileTitle));
        name.Run();
        if (numberRows)
            def.Execute(std::string("UPDATE ") + kManualSchema +
                        ".tblParts SET Seq_Num = n.rn FROM (SELECT AutoIDNum AS id, row_number() OVER (ORDER BY "
                        "AutoIDNum) AS rn FROM " +
                        kManualSchema + ".tblParts) AS n WHERE n.id = tblParts.AutoIDNum");
        SaveTheUserDefinedColumnNames(def, kManualSchema, true);
        tx.commit();
    } catch (...) {
        def.Execute(std::string("DETACH DATABASE ") + kManualSchema);
        throw;
    }
    def.Execute(std::string("DETACH DATABASE ") + kManualSchema);
    CopyDatabaseTo(source, sFileName);
}

} // namespace vx
