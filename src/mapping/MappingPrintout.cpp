#include "mapping/MappingPrintout.h"

#include "config/NumberText.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"

namespace vx {

std::vector<MappingPrintRow> ReadMappingForPrint()
{
    auto conn = Connection::Open(DefDatabasePath());
    RecordSet rs(conn, "SELECT * from tblPartsFileMapping order by IDNum asc");
    std::vector<MappingPrintRow> rows;
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
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace vx
