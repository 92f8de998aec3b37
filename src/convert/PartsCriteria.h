#pragma once
// The part criteria and materials: learning new part names and materials while a file is
// read, and applying tblPartsCriteria to every row of the working table.
#include "config/TableStore.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

namespace vx {

// The names already in tblPartsCriteria / tblMaterials, held in memory so that a read of a
// million rows asks the database only about names it has not met. Names compare without
// regard to (ASCII) letter case, as the NOCASE columns do.
class NewNameRegistry {
public:
    explicit NewNameRegistry(std::shared_ptr<Connection> connection);
    // Adds an unknown part name to the criteria: valid without a question unless AskIfValid
    // is 1, else valid when the operator answers Yes.
    void CheckForNewPart(std::string_view sPartName);
    // Adds an unknown material to tblMaterials; no question.
    void CheckForNewMaterial(std::string_view material);

private:
    static std::string Key(std::string_view name);
    std::shared_ptr<Connection> m_conn;
    std::unordered_set<std::string> m_parts, m_materials;
    std::string m_lastPart, m_lastMaterial, m_key;
    Statement m_addPart, m_addMaterial;
};

// What the criteria may set, from the machine settings.
struct CriteriaOptions {
    bool scribes = false;           // the scribe accessory: scribes kept and cleaned
    bool bGradeEnabled = false;
    bool pocketHoles = false;       // the pocket-hole accessory
    bool panelEnabled = false;
    bool computeSpaceBalls = false; // the space-ball accessory
    std::array<double, 2> extraSpaceBallLengths{1000000.0, 1000000.0};
};

// Writes the criteria into every working-table row (the reset of rows without criteria,
// validity, process, flags, switched dimensions, cleaned and mirrored scribes, space
// balls) in one transaction. Rerunning is safe: the rows record their orientation.
void ApplyCriteriaToWorkingTable(Connection& connection, const CriteriaOptions& options);

} // namespace vx
