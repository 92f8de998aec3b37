#include "mapping/MappingPrintout.h"

#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "convert/DimensionsCell.h"

namespace vx {

std::vector<MappingPrintRow> ReadMappingForPrint()
{
    auto conn = Connection::Open(DefDatabasePath());
    RecordSet rs(conn, "SELECT * from tblPartsFileMapping order by IDNum asc");
    std::vector<MappingPrintRow> rows;
    std::vector<MappingEntry> entries;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        MappingPrintRow row;
        row.MainName = rs.Value("MainName").toText();
        row.UserLabel = rs.Value("UserLabel").toText();
        row.MappedColumn = rs.Value("PF_Col").toLong() > 0 ? "YES" : "NO";
        // Scribes are switched on or off in the configuration, not by the mapping.
        if (EqualsNoCase(TrimBlanks(row.MainName), "SCRIBES"))
            row.ManualField = "Config. Settings";
        else
            row.ManualField = rs.Value("ManualField").toBool() ? "YES" : "NO";
        entries.push_back({TrimBlanks(row.MainName), row.UserLabel, row.MappedColumn == "YES"});
        rows.push_back(std::move(row));
    }
    // A mapped DIMENSIONS cell gives the width and length (and thickness for three numbers).
    const std::string order = DimensionOrderOf(State().DimensionsOrder);
    std::string given;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].MappedColumn == "NO" && GivenByDimensions(entries[i].MainName, entries, order)) {
            rows[i].MappedColumn = "BY DIMENSIONS";
            given += (given.empty() ? "" : ", ") + entries[i].MainName;
        }
    for (size_t i = 0; i < rows.size(); ++i)
        if (!given.empty() && EqualsNoCase(entries[i].MainName, kDimensionsField))
            rows[i].ManualField = "Gives " + given;
    return rows;
}

} // namespace vx
