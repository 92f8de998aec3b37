#pragma once
// The saved column mapping as the print mapping screen shows and prints it: one row per
// machine field in IDNum order.
#include <string>
#include <vector>

namespace vx {

struct MappingPrintRow {
    std::string MainName;     // "DB Name"
    std::string UserLabel;    // "Display Label"
    std::string MappedColumn; // "YES" when the field has a column, otherwise "NO"
    std::string ManualField;  // "YES"/"NO"; "Config. Settings" for SCRIBES
};

// Reads tblPartsFileMapping of the runtime CLTDef.mdb; table failures raise.
std::vector<MappingPrintRow> ReadMappingForPrint();

} // namespace vx
