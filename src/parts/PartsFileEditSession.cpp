#include "parts/PartsFileEditSession.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "config/modCLTSettings.h"
#include "convert/FileReplace.h"
#include "convert/PartsCriteria.h"
#include "parts/PartEntry.h"
#include "parts/PartRow.h"
#include "parts/cCLTPart.h"

#include <sqlite3.h>
#include <sys/stat.h>

namespace vx {

namespace {
constexpr int kOpenWaitMs = 1500; // how long opening waits for another program's write
constexpr int kEditWaitMs = 60000;

// The columns this screen reads and writes; a table without them is not a parts file.
constexpr const char* kPartsColumns[] = {"AutoIDNum",   "SEQ_NUM", "Quantity", "Thickness", "Width",
                                         "Length",      "Part",    "Material", "Scribes",   "SpaceBalls",
                                         "PocketHoles", "Panel",   "B_Grade",  "FileName"};

enum class FileRefusal { None, NotPartsFile, ReadOnly, InUse, Missing };

// Tries a write on the file and rolls it back: a file that is read-only, sits in a folder
// where no journal can be made or is being written by another program is found here,
// before the operator edits anything, and the file itself is left untouched.
FileRefusal ProbeWrite(Connection& file)
{
    // A file marked read-only is left alone even where the system would let this user
    // write it anyway (an administrator).
    if (sqlite3_db_readonly(file.handle(), "main") == 1 || !MayReplaceFile(file.path()))
        return FileRefusal::ReadOnly;
    try {
        file.Execute("BEGIN IMMEDIATE");
    } catch (const VxError& e) {
        return e.number() == kErrDatabaseLocked ? FileRefusal::InUse : FileRefusal::ReadOnly;
    }
    FileRefusal result = FileRefusal::None;
    try {
        int64_t version = file.ScalarQuery("PRAGMA user_version").rawLong();
        file.Execute("PRAGMA user_version = " + std::to_string(version));
    } catch (const VxError& e) {
        result = e.number() == kErrDatabaseLocked ? FileRefusal::InUse : FileRefusal::ReadOnly;
    }
    file.Execute("ROLLBACK");
    return result;
}

FileRefusal CheckPartsFile(Connection& file)
{
    if (!file.TableExists("tblParts"))
        return FileRefusal::NotPartsFile;
    std::vector<ColumnInfo> columns = file.TableColumns("tblParts");
    for (const char* wanted : kPartsColumns) {
        bool found = false;
        for (const ColumnInfo& c : columns)
            found = found || sqlite3_stricmp(c.name.c_str(), wanted) == 0;
        if (!found)
            return FileRefusal::NotPartsFile;
    }
    return ProbeWrite(file);
}

std::string RefusalMessage(FileRefusal refusal, const std::string& title)
{
    switch (refusal) {
    case FileRefusal::ReadOnly: return "The file selected is read-only, so it can not be changed: " + title;
    case FileRefusal::InUse:
        return "The file selected is in use by another program: " + title + ". Close it there and try again.";
    case FileRefusal::Missing: return "The file selected can not be found: " + title;
    default: return "The file selected is not a Veltrax parts file: " + title;
    }
}
} // namespace

PartsFileEditSession::~PartsFileEditSession() { Release(); }

Connection& PartsFileEditSession::Def()
{
    // The configuration failed to open when the screen was shown (that was reported then).
    if (!m_def)
        throw VxError(kErrFileNotFound, "The configuration database is not open.", "frmCLTViewEditROPartsFile");
    return *m_def;
}

void PartsFileEditSession::ConnectToPartsCriteriaDB() { m_def = Connection::Open(DefDatabasePath()); }

void PartsFileEditSession::GetPartsCriteriaRS()
{
    m_criteria.Open(Def().shared_from_this(), "Select * from tblPartsCriteria order by Part");
}

void PartsFileEditSession::GetMappingRS() { m_mapping = MappingFields::Read(Def()); }

void PartsFileEditSession::GetMaterialsRS()
{
    m_materials.Open(Def().shared_from_this(), "Select * from tblMaterials");
}

void PartsFileEditSession::GetExtraSpaceBalls()
{
    ExtraSpaceBallTexts = {GetExtraSpaceBallLength(1), GetExtraSpaceBallLength(2)};
}

void PartsFileEditSession::UpdateSpaceBalls()
{
    SetExtraSpaceBallLength(1, TrimBlanks(ExtraSpaceBallTexts[0]));
    SetExtraSpaceBallLength(2, TrimBlanks(ExtraSpaceBallTexts[1]));
}

bool PartsFileEditSession::OpenFile(const std::string& path, const std::string& title)
{
    CloseFile();
    if (IsProgramFile(path)) {
        ShowMessage("The file selected is a file used by this software. You can not use this file.", vbOKOnly, "");
        return false;
    }
    std::shared_ptr<Connection> file;
    FileRefusal refusal = FileRefusal::NotPartsFile;
    try {
        file = Connection::Open(path, kOpenWaitMs);
        refusal = CheckPartsFile(*file);
    } catch (const VxError& e) {
        // Not a database at all, or one that cannot even be read.
        refusal = e.number() == kErrDatabaseLocked ? FileRefusal::InUse
                  : e.number() == kErrFileNotFound ? FileRefusal::Missing
                                                   : FileRefusal::NotPartsFile;
    }
    if (refusal != FileRefusal::None) {
        ShowMessage(RefusalMessage(refusal, title), vbOKOnly, "");
        return false;
    }
    file->SetBusyTimeout(kEditWaitMs);
    m_file = std::move(file);
    m_path = path;
    m_title = title;
    GetRS();
    m_identity = IdentityNow();
    return true;
}

PartsFileEditSession::FileIdentity PartsFileEditSession::IdentityNow()
{
    FileIdentity id;
    struct stat st {};
    if (::stat(m_path.c_str(), &st) != 0)
        return id;
    id.found = true;
    id.device = static_cast<uint64_t>(st.st_dev);
    id.inode = static_cast<uint64_t>(st.st_ino);
    id.size = static_cast<uint64_t>(st.st_size);
#ifdef _WIN32
    id.modified = static_cast<int64_t>(st.st_mtime);
#else
    id.modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    // Read without waiting: a file another program holds keeps the version last seen (the
    // write then waits for that program, visibly).
    m_file->SetBusyTimeout(0);
    try {
        id.dataVersion = m_file->ScalarQuery("PRAGMA data_version").rawLong();
    } catch (const VxError& e) {
        id.dataVersion = m_identity.dataVersion;
        id.found = e.number() == kErrDatabaseLocked; // otherwise not known to be the same file
    }
    m_file->SetBusyTimeout(kEditWaitMs);
    return id;
}

bool PartsFileEditSession::FileUnchangedOnDisk()
{
    if (!m_file)
        return true;
    // Copying another file over it keeps the inode and may keep SQLite's change counter;
    // its size and time still move.
    return m_identity.found && IdentityNow() == m_identity;
}

std::string PartsFileEditSession::ChangedOnDiskQuestion() const
{
    return "The file " + m_title + " changed on disk since it was opened. Reopen it?";
}

void PartsFileEditSession::NoteOwnWrite()
{
    if (m_file)
        m_identity = IdentityNow();
}

void PartsFileEditSession::CloseFile()
{
    m_parts.Close();
    m_file.reset();
    m_path.clear();
    m_title.clear();
}

void PartsFileEditSession::GetRS()
{
    if (m_file)
        m_parts.Open(m_file, "SELECT * from tblParts ");
}

int PartsFileEditSession::PartsCount()
{
    if (!m_file)
        return 0;
    return static_cast<int>(m_file->ScalarQuery("SELECT count(*) FROM tblParts").rawLong());
}

namespace {
// What a write of the session leaves on disk, done or rolled back, is its own.
struct OwnWrite {
    PartsFileEditSession& session;
    ~OwnWrite() { session.NoteOwnWrite(); }
};
} // namespace

void PartsFileEditSession::DeleteParts(const std::vector<int64_t>& autoIds)
{
    OwnWrite own{*this};
    DeletePartRows(*m_file, autoIds);
    GetRS();
}

void PartsFileEditSession::AddParts(const cCLTPart& NewPart)
{
    {
        OwnWrite own{*this};
        AppendPartRow(m_parts, NewPart, NewPart.Seq_Num(), m_title);
    }
    CheckForNewPart(NewPart.Part());
    CheckForNewMaterial(NewPart.Material());
}

void PartsFileEditSession::CheckForNewPart(const std::string& name) { LearnPartName(Def(), name); }

void PartsFileEditSession::CheckForNewMaterial(const std::string& name) { LearnMaterial(Def(), name); }

bool PartsFileEditSession::ApplyPartsCriteria()
{
    if (PartsCount() == 0) {
        ShowMessage("There are no parts.", vbOKOnly, "");
        return false;
    }
    CriteriaOptions options;
    std::string error;
    if (!CriteriaOptionsFromSettings(ExtraSpaceBallTexts, options, error)) {
        ShowMessage(error, vbOKOnly, "");
        return false;
    }
    m_parts.Close();
    try {
        OwnWrite own{*this};
        ApplyCriteriaToPartsFile(*m_file, Def().path(), options);
    } catch (...) {
        GetRS();
        throw;
    }
    GetRS();
    return true;
}

void PartsFileEditSession::Release()
{
    CloseFile();
    for (RecordSet* rs : {&m_criteria, &m_materials})
        rs->Close();
    m_def.reset();
}

} // namespace vx
