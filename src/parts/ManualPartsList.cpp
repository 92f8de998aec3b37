#include "parts/ManualPartsList.h"

#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "convert/FileReplace.h"
#include "convert/PartsFileWriter.h"
#include "convert/TargetDatabaseClaim.h"
#include "parts/PartRow.h"
#include "parts/cCLTPart.h"

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

ManualPartsList::~ManualPartsList() { Close(); }

void ManualPartsList::ConnectToDB()
{
    DisConnectFromDB();
    if (m_workPath.empty()) {
        // Each list is typed into a private copy of the working database beside it: two
        // programs entering parts at once never see, empty or save each other's rows.
        const std::string path = TemporaryPathBeside(ManualDatabasePath());
        std::error_code ec;
        fs::copy_file(ManualDatabasePath(), path, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            RemoveQuietly(path);
            throw VxError(FileErrorNumber(ec), "Could not copy '" + ManualDatabasePath() + "' (" + ec.message() + ").",
                          "ConnectToDB");
        }
        m_workPath = path;
    }
    m_work = Connection::Open(m_workPath);
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
    if (!m_workPath.empty())
        RemoveQuietly(m_workPath);
    m_workPath.clear();
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
// The working database copied into place through a temporary file beside the target.
void CopyDatabaseTo(const std::string& source, const std::string& target)
{
    std::error_code ec;
    const std::string tmp = TemporaryPathBeside(target);
    try {
        fs::copy_file(source, tmp, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw FileWriteError(target, ec, "CreatePartsFile");
        ReplaceDatabaseFileWith(tmp, target, "CreatePartsFile"); // synced to disk first
    } catch (...) {
        RemoveQuietly(tmp);
        throw;
    }
}
} // namespace

void ManualPartsList::CreatePartsFile(const std::string& sFileName, const std::string& sFileTitle, bool numberRows)
{
    // A target that may not be written is refused before the list changes.
    RequireReplaceable(sFileName, "CreatePartsFile");
    DisConnectFromDB();
    const std::string source = m_workPath;
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
