#include "mapping/DefaultMapping.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"

#include <vector>

namespace vx {

namespace {

constexpr const char* kCrLf = "\r\n";

struct DefaultRow {
    int IDNum = 0;
    std::string UserLabel;
    int PF_Col = 0;
};

std::vector<DefaultRow> ReadDefaultTable(const std::string& tableName, int labelCount)
{
    auto conn = Connection::Open(DefDatabasePath());
    RecordSet rs(conn, "SELECT * from " + SqlName(tableName) + " order by IDNum asc");
    std::vector<DefaultRow> rows;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        DefaultRow row{rs.Value("IDNum").toLong(), rs.Value("UserLabel").toText(), rs.Value("PF_Col").toLong()};
        if (row.IDNum < 1 || row.IDNum > labelCount)
            throw VxError(9, "Subscript out of range", "LoadADefaultMapping");
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

bool LoadADefaultMapping(ColumnMapping& mapping, const std::string& tableName)
{
    std::vector<DefaultRow> rows;
    try {
        // Read and check the whole table first so that a bad table changes nothing.
        rows = ReadDefaultTable(tableName, mapping.LabelCount());
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        return false;
    }
    const int columns = mapping.ColumnCount();
    mapping.ClearMappingRow(columns);
    bool ignored = false;
    for (const DefaultRow& row : rows) {
        mapping.SetDisplayLabel(row.IDNum, row.UserLabel);
        if (row.PF_Col <= 0)
            continue;
        if (row.PF_Col <= columns)
            mapping.SetCell(row.PF_Col, row.UserLabel);
        else
            ignored = true;
    }
    mapping.FillUnusedCells();
    if (ignored) {
        ErrorLog& log = TheErrorLog();
        log.ClearLog();
        log.AddInfo(std::string("This is an informational message only.") + kCrLf + kCrLf +
                    "The number of columns in the parts file is less than a column(s) in the default mapping. " +
                    kCrLf + kCrLf +
                    "Column numbers in the default mapping that exceed the number of columns in the parts file have "
                    "been ignored.");
        log.Display();
    }
    return true;
}

} // namespace vx
