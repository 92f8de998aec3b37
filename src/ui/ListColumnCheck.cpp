#include "ui/ListColumnCheck.h"

#include "base/Messages.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"
#include "ui/BoundGrid.h"
#include "ui/MessageBoxPresenter.h"

#include <optional>
#include <string>

namespace vx {

void CheckListColumn(BoundGrid& grid, bool scribes, bool hasParts, int lengthCol, int listCol)
{
    std::optional<WaitCursor> hourglass(std::in_place);
    const char* missing = scribes ? "Can't find the Scribes column." : "Can't find the SpaceBalls column.";
    if (!hasParts || !grid.recordSet()) {
        hourglass.reset();
        ShowMessage("There are no parts.", vbOKOnly, "");
        return;
    }
    if (lengthCol < 1 || listCol < 1) {
        hourglass.reset();
        ShowMessage(lengthCol < 1 ? "Can't find the length column." : missing, vbOKOnly, "");
        return;
    }
    RecordSet& rs = *grid.recordSet();
    for (int r = 0; r < rs.RecordCount(); ++r) {
        bool failed = false;
        std::string errorText;
        std::string list = rs.ValueAt(r, listCol - 1).toText();
        double length = rs.ValueAt(r, lengthCol - 1).toDouble();
        if (scribes)
            CheckScribeList(list, failed, errorText, length);
        else
            CheckSpaceBallList(list, failed, errorText, length);
        if (failed) {
            hourglass.reset();
            QModelIndex cell = grid.model()->index(r, listCol - 1);
            grid.setCurrentIndex(cell);
            grid.scrollTo(cell);
            if (scribes)
                ShowMessage("Error in a Scribes specification in the cell selected. " + errorText, vbOKOnly,
                            "Scribe Error");
            else
                ShowMessage("Error in a SpaceBalls specification in the cell selected. " + errorText, vbOKOnly,
                            "SpaceBall Error");
            return;
        }
    }
    hourglass.reset();
    ShowMessage(scribes ? "No errors found in the Scribes column." : "No errors found in the SpaceBalls column.",
                vbOKOnly, "");
}

} // namespace vx
