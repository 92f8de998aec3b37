#include "mapping/SavedMappingCheck.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "convert/DimensionsCell.h"

namespace vx {

void CheckForValidMapping(bool& IsError)
{
    const std::string crlf = "\r\n";
    IsError = false;
    ErrorLog& log = TheErrorLog();
    log.ClearLog();
    try {
        auto conn = Connection::Open(DefDatabasePath());
        RecordSet mapping(conn, "SELECT * from tblPartsFileMapping order by IDNum asc");
        std::vector<MappingEntry> entries;
        for (mapping.MoveFirst(); !mapping.Eof(); mapping.MoveNext())
            entries.push_back({mapping.Value("MainName").toText(), mapping.Value("UserLabel").toText(),
                               mapping.Value("PF_Col").toLong() >= 1});
        const std::string order = DimensionOrderOf(State().DimensionsOrder);
        auto addError = [&](const std::string& text) {
            if (!IsError)
                log.AddInfo("THERE ARE ERRORS IN THE PARTS FILE MAPPING" + crlf + crlf);
            log.AddInfo(text);
            IsError = true;
        };
        mapping.SetFilter("RequiredField <> 0");
        for (mapping.MoveFirst(); !mapping.Eof(); mapping.MoveNext()) {
            if (mapping.Value("PF_Col").toLong() >= 1 ||
                GivenByDimensions(mapping.Value("MainName").toText(), entries, order))
                continue;
            addError("You must select a column for DB Name: " + mapping.Value("MainName").toText() +
                     ", Display Label: " + mapping.Value("UserLabel").toText() + ", This is a required field." + crlf +
                     crlf);
        }
        for (const std::string& clash : DimensionsClashes(entries, order))
            addError(clash);
        mapping.SetFilter("");
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        IsError = true;
    }
}

} // namespace vx
