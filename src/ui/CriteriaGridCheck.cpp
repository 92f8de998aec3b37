#include "ui/CriteriaGridCheck.h"

#include "base/Messages.h"
#include "convert/CriteriaCellCheck.h"
#include "ui/BoundGrid.h"

namespace vx {

void InstallCriteriaCellCheck(BoundGrid& grid)
{
    BoundGridModel* model = grid.gridModel();
    model->checkEdit = [model](int, int column, const Variant& value) {
        RecordSet* rs = model->recordSet();
        if (!rs || column < 0 || column >= static_cast<int>(rs->Columns().size()))
            return true;
        std::optional<std::string> refusal =
            CriteriaCellRefusal(rs->Columns()[static_cast<size_t>(column)].name, value.toText());
        if (refusal)
            ShowMessage(*refusal, vbOKOnly | vbExclamation, "");
        return !refusal;
    };
}

} // namespace vx
