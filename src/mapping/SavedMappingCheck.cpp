#include "mapping/SavedMappingCheck.h"

#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/VxError.h"
#include "screens/ErrorLog.h"
#include "start/Messages.h"

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
        mapping.SetFilter("RequiredField <> 0");
        for (mapping.MoveFirst(); !mapping.Eof(); mapping.MoveNext()) {
            if (mapping.Value("PF_Col").toLong() >= 1)
                continue;
            if (!IsError)
                log.AddInfo("THERE ARE ERRORS IN THE PARTS FILE MAPPING" + crlf + crlf);
            log.AddInfo("You must select a column for DB Name: " + mapping.Value("MainName").toText() +
                        ", Display Label: " + mapping.Value("UserLabel").toText() + ", This is a required field." +
                        crlf + crlf);
            IsError = true;
        }
        mapping.SetFilter("");
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        IsError = true;
    }
}

} // namespace vx
