#pragma once
// The saved column mapping as the print mapping screen shows and prints it: one row per
// machine field in IDNum order.
#include <string>
#include <vector>

namespace vx {

struct MappingPrintRow {
    std::string MainName;  // "DB Name"
    std::string UserLabel; // "Display Label"
    // "YES" when the field has a column, "BY DIMENSIONS" when a mapped DIMENSIONS cell gives
    // it, otherwise "NO"
    std::string MappedColumn;
    // "YES"/"NO"; "Config. Settings" for SCRIBES; "Gives WIDTH, LENGTH" for a mapped DIMENSIONS
    std::string ManualField;
};

// Reads tblPartsFileMapping of the runtime CLTDef.mdb; table failures raise.
std::vector<MappingPrintRow> ReadMappingForPrint();

} // namespace vx
