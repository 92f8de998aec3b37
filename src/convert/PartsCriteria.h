#pragma once
// The part criteria and materials: learning new part names and materials while a file is
// read, and applying tblPartsCriteria to every row of the working table.
#include "config/TableStore.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vx {

// One row of tblPartsCriteria as the rules read it.
struct PartCriteria {
    bool valid = true, bGrade = false, pocketHoles = false, panel = false, switchDims = false, reverseScribes = false;
    double spaceBallLoc = 0, minPanelWidth = 0;
    int32_t process = 1;
    bool complete = true; // Process, Min_Panel_Width and Space_Ball_Loc all hold numbers
};

// The criteria and materials already known, held in memory so that a read of a million
// rows asks the database only about names it has not met. Names compare without regard
// to (ASCII) letter case, as the NOCASE columns do.
class NewNameRegistry {
public:
    // With learn false nothing is stored: new names are only listed (a check of a file).
    explicit NewNameRegistry(std::shared_ptr<Connection> connection, bool learn = true);
    // The criteria row of a part name (nullptr when there is none).
    const PartCriteria* CriteriaFor(std::string_view part);
    // True when every name has one criteria row with all its numbers, so the criteria can
    // be applied to each row as it is written.
    bool CriteriaApplicableByRow() const { return !m_duplicates && !m_incomplete; }
    // Adds an unknown part name to the criteria: valid without a question unless AskIfValid
    // is 1, else valid when the operator answers Yes. "Yes to All" and "No to All" answer
    // for every new name still to come in this registry's read.
    void CheckForNewPart(std::string_view sPartName);
    // Adds an unknown material to tblMaterials; no question.
    void CheckForNewMaterial(std::string_view material);
    // The names met for the first time, in the order met.
    const std::vector<std::string>& NewPartNames() const { return m_newParts; }
    const std::vector<std::string>& NewMaterials() const { return m_newMaterials; }

private:
    static std::string Key(std::string_view name);
    static PartCriteria ReadCriteria(Statement& st);
    std::shared_ptr<Connection> m_conn;
    std::unordered_map<std::string, PartCriteria> m_parts;
    std::unordered_set<std::string> m_materials;
    bool m_learn;
    bool m_duplicates = false, m_incomplete = false;
    std::vector<std::string> m_newParts, m_newMaterials;
    std::optional<bool> m_validForAll; // the operator's "to All" answer
    const PartCriteria* m_lastCriteria = nullptr;
    std::string m_lastPart, m_lastMaterial, m_key;
    Statement m_addPart, m_addMaterial;
};

// What the criteria may set, from the machine settings.
struct CriteriaOptions {
    bool scribes = false; // the scribe accessory: scribes kept and cleaned
    bool bGradeEnabled = false;
    bool pocketHoles = false; // the pocket-hole accessory
    bool panelEnabled = false;
    bool computeSpaceBalls = false; // the space-ball accessory
    std::array<double, 2> extraSpaceBallLengths{1000000.0, 1000000.0};
    // The pass over a finished parts file: only B grade, pocket holes, panel and space balls
    // (and the scribes emptied without the accessory); width, length, scribe lists, validity
    // and process stay as the file holds them.
    bool flagsOnly = false;
};

// The rules of the current settings, with the two extra space-ball lengths typed in their
// boxes (normalised in place). False with the error text when the space-ball accessory is
// set and a length is refused.
bool CriteriaOptionsFromSettings(std::array<std::string, 2>& extraSpaceBallTexts, CriteriaOptions& options,
                                 std::string& error);

// Writes the criteria into every working-table row (the reset of rows without criteria,
// validity, process, flags, switched dimensions, cleaned and mirrored scribes, space
// balls) in one transaction. Rerunning is safe: the rows record their orientation.
void ApplyCriteriaToWorkingTable(Connection& connection, const CriteriaOptions& options);
// The same rules, flags only, on a parts file's tblParts with the criteria of the
// configuration database at criteriaDatabase, in one transaction.
void ApplyCriteriaToPartsFile(Connection& partsFile, const std::string& criteriaDatabase, CriteriaOptions options);

// The criteria columns of one freshly read row (not switched, not mirrored yet).
struct RowCriteriaResult {
    bool valid = true, bGrade = false, pocketHoles = false, panel = false, switched = false, reversed = false;
    int32_t process = 1;
    double width = 0, length = 0;
    std::string scribes, spaceBalls;
};
// One application of the criteria (nullptr: none for its name) to a row just read, with
// the same result as ApplyCriteriaToWorkingTable gives for that row.
void ApplyCriteriaToNewRow(const PartCriteria* criteria, const CriteriaOptions& options, RowCriteriaResult& row);

} // namespace vx
