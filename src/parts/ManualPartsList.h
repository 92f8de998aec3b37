#pragma once
// The list of parts typed by hand: a private working copy of the runtime folder's
// ManualPartsTemplate.mdb, the configuration it reads (mapping, criteria, materials) and the
// save that turns the list into a parts file. The manual parts entry screen presents this.
#include "config/TableStore.h"
#include "parts/PartEntry.h"

#include <memory>
#include <string>
#include <vector>

namespace vx {

class cCLTPart;

class ManualPartsList {
public:
    ManualPartsList() = default;
    ~ManualPartsList();
    ManualPartsList(const ManualPartsList&) = delete;
    ManualPartsList& operator=(const ManualPartsList&) = delete;

    // The configuration side: CLTDef.mdb, its mapping rows, criteria and materials.
    void ConnectToDefDB();
    void GetMappingRS();
    void GetPartsCriteriaRS();
    void GetMaterialsRS();
    // The working side: a fresh connection to the working database and its tblParts. The
    // first connection makes this list's private copy of the runtime folder's working
    // database; Close removes it.
    void ConnectToDB();
    const std::string& WorkingDatabasePath() const { return m_workPath; }
    void DeleteAllParts();
    void GetPartsRS();
    // Releases the parts record set and the working connection (the file can then be copied).
    void DisConnectFromDB();
    // Releases everything and removes the private working copy.
    void Close();

    const MappingFields& Mapping() const { return m_mapping; }
    RecordSet& PartsRS() { return m_parts; }
    RecordSet& CriteriaRS() { return m_criteria; }
    RecordSet& MaterialsRS() { return m_materials; }
    bool HasParts() const { return m_parts.IsOpen() && m_parts.RecordCount() > 0; }

    // Appends the part as one row (the quantity stays in the row), SEQ_NUM from seqNum and an
    // empty FileName.
    void AddPart(const cCLTPart& part, int32_t seqNum);
    // Learns a new part name / material into the configuration.
    void CheckForNewPart(const std::string& sPartName);
    void CheckForNewMaterial(const std::string& sMaterialName);
    // Deletes the rows of these AutoIDNum keys in one transaction.
    void DeleteRows(const std::vector<int64_t>& keys);
    // Writes the field panel's rows in one transaction and reads the mapping again.
    void SaveMappingChanges(const std::vector<MappingField>& rows);

    // Finishes the rows (FileName from the title; running numbers 1, 2, 3 in entry order when
    // numberRows) and the display labels, then copies the working database to sFileName
    // through a temporary file beside it. A target that is read-only or in use by another
    // program is refused with nothing written. The working connection is released on the
    // way: the caller reconnects whether the save succeeded or not. Failures raise.
    void CreatePartsFile(const std::string& sFileName, const std::string& sFileTitle, bool numberRows);

private:
    std::shared_ptr<Connection> m_def, m_work;
    std::string m_workPath;
    MappingFields m_mapping;
    RecordSet m_parts, m_criteria, m_materials;
};

// The file title without every ".rdb" (exact case): the FileName of a saved manual file.
std::string FileNameFromTitle(const std::string& title);

} // namespace vx
