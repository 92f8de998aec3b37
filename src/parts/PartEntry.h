#pragma once
// What the screens that take parts typed by hand share in core: the mapping rows that decide
// which fields are offered, the check of one typed part, the matching of a typed name against
// a combo list, and the learning of new part names and materials.
#include "config/TableStore.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// One row of tblPartsFileMapping as the entry screens read it.
struct MappingField {
    int32_t idNum = 0;
    std::string mainName, userLabel;
    bool required = false;
    std::optional<bool> manualField; // empty when the cell holds no value
};

// The mapping rows in IDNum order, read once and kept apart from any connection.
class MappingFields {
public:
    static MappingFields Read(Connection& def);
    const std::vector<MappingField>& rows() const { return m_rows; }
    // The row of a machine field (names ignore case); nullptr when there is none.
    const MappingField* Find(std::string_view mainName) const;
    // The display label, "" when the field has no row or no label.
    std::string LabelOf(std::string_view mainName) const;
    // ManualField true; no row or no value counts as false.
    bool InUse(std::string_view mainName) const;

private:
    std::vector<MappingField> m_rows;
};

// Writes UserLabel and ManualField of every row, all in one transaction: a failure part-way
// changes nothing.
void SaveManualFieldChoices(Connection& def, const std::vector<MappingField>& rows);

// The texts of the entry boxes of one part.
struct PartEntryTexts {
    std::string seqNum, quantity, thickness, width, length, part, material, scribes, spaceBalls;
};

// How a screen checks its entry: the names the messages use and the steps that differ.
struct PartEntryRules {
    std::string seqName, quantityName, thicknessName, widthName, lengthName;
    bool emptyThicknessIsZero = true; // false: an empty thickness box is refused
    bool thicknessTyped = true;       // false: the box is set to "0" without a check
    // The refusal of an empty part name / material; nullopt when the name is not asked for.
    std::optional<std::string> partRefusal, materialRefusal;
    bool scribes = false, spaceBalls = false; // the accessories
};

// The typed numbers once the check passed.
struct PartEntryNumbers {
    int32_t seqNum = 0, quantity = 0;
    double thickness = 0, width = 0, length = 0;
};

// Checks a typed part step by step and stops at the first refusal (message set, false). The
// texts are rewritten as the boxes should show them: whole numbers in decimal, an empty
// thickness as "0", scribes and space balls emptied when their accessory is off. An entry
// beyond 32 bits raises the overflow error.
bool CheckPartEntry(PartEntryTexts& texts, const PartEntryRules& rules, PartEntryNumbers& numbers,
                    std::string& message);

// The last list entry equal to the text, both trimmed and upper-cased; -1 when none.
int MatchingListEntry(const std::vector<std::string>& entries, std::string_view text);

// Adds a part name to tblPartsCriteria (only its name; every criterion takes the table's
// defaults) / a material to tblMaterials, unless a row of that name exists already. Names
// are bound, never spliced into SQL.
void LearnPartName(Connection& def, const std::string& name);
void LearnMaterial(Connection& def, const std::string& name);

} // namespace vx
