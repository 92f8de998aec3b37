#pragma once
// The view/edit screen's work on an existing Veltrax parts file: opening it (only when it is
// a parts file this program may change), deleting parts, re-applying the criteria, and the
// configuration record sets shown beside it (criteria, mapping, materials).
//
// Every change goes straight into the open file; changes of several rows run in one
// transaction, so a failure part-way leaves the file as it was.
#include "config/TableStore.h"
#include "parts/PartEntry.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vx {

class cCLTPart;

class PartsFileEditSession {
public:
    PartsFileEditSession() = default;
    ~PartsFileEditSession();
    PartsFileEditSession(const PartsFileEditSession&) = delete;
    PartsFileEditSession& operator=(const PartsFileEditSession&) = delete;

    // ---- Configuration database (errors reach the caller) ----
    void ConnectToPartsCriteriaDB();
    void GetPartsCriteriaRS();
    void GetMappingRS();
    void GetMaterialsRS();
    RecordSet& CriteriaRS() { return m_criteria; }
    // The mapping rows, read once and kept apart from the connection.
    const MappingFields& Mapping() const { return m_mapping; }
    const std::shared_ptr<Connection>& configuration() const { return m_def; }

    // The boxes of the extra space-ball lengths (3 and 4 balls): loaded from and stored into
    // the settings held in memory.
    std::array<std::string, 2> ExtraSpaceBallTexts;
    void GetExtraSpaceBalls();
    void UpdateSpaceBalls();

    // ---- The open parts file ----
    // Opens the file when it is a parts file that can be changed; otherwise shows one message
    // (program file, not a parts file, read-only, in use) and leaves no file open.
    bool OpenFile(const std::string& path, const std::string& title);
    void CloseFile();
    bool IsFileOpen() const { return m_file != nullptr; }
    const std::string& FileTitle() const { return m_title; }
    const std::string& FilePath() const { return m_path; }
    // Reopens "SELECT * from tblParts " on the open file.
    void GetRS();
    RecordSet& PartsRS() { return m_parts; }
    int PartsCount();
    const std::shared_ptr<Connection>& partsFile() const { return m_file; }

    // True while the open file is still the one opened: the same file at its path, with the
    // size and modification time this session's own writes left, and no commit by another
    // program since. Every write to the file asks this first.
    bool FileUnchangedOnDisk();
    // "The file <title> changed on disk since it was opened. Reopen it?"
    std::string ChangedOnDiskQuestion() const;
    // After a write of this session (a grid edit): its new size and time are its own.
    void NoteOwnWrite();

    // Deletes the parts with these AutoIDNum values, all or none; the record set is reopened.
    void DeleteParts(const std::vector<int64_t>& autoIds);
    // Appends the part as one row of the open file (FileName = the file's title), then learns
    // its part name and material into the configuration. Errors reach the caller; a failed
    // row is not added and teaches no name.
    void AddParts(const cCLTPart& NewPart);
    // A part name / material not yet in tblPartsCriteria / tblMaterials is added (only its
    // name; no question).
    void CheckForNewPart(const std::string& name);
    void CheckForNewMaterial(const std::string& name);
    // The screen's reduced criteria pass (flags and space balls only) on the open file. Shows
    // "There are no parts." or a refused space-ball length and returns false; errors reach
    // the caller with the file unchanged.
    bool ApplyPartsCriteria();

    // Releases every record set and both connections.
    void Release();

private:
    Connection& Def();
    // The file at the path as it stands: device, inode, size, modification time; with the
    // connection's data version, which moves when another program commits.
    struct FileIdentity {
        uint64_t device = 0, inode = 0, size = 0;
        int64_t modified = 0;
        int64_t dataVersion = 0;
        bool found = false;
        bool operator==(const FileIdentity&) const = default;
    };
    FileIdentity IdentityNow();
    FileIdentity m_identity;

    std::shared_ptr<Connection> m_def, m_file;
    RecordSet m_parts, m_criteria, m_materials;
    MappingFields m_mapping;
    std::string m_path, m_title;
};

} // namespace vx
