#include "ui/CriteriaGridColumns.h"

#include "base/ProgramState.h"
#include "ui/BoundGrid.h"

namespace vx {

void ShowCriteriaColumnsForSettings(BoundGrid& grid)
{
    using namespace CriteriaGridCol;
    const ProgramState& s = State();
    grid.SetColHidden(Record, true);
    grid.SetEditable(true);
    grid.SetColHidden(BGrade, !s.BGradeEnabled);
    grid.SetColHidden(PocketHoles, !s.PocketHoles);
    grid.SetColHidden(SpaceBallLoc, !s.SpaceBalls);
    grid.SetColHidden(Panel, !s.PanelEnabled);
    grid.SetColHidden(MinPanelWidth, !s.PanelEnabled);
    grid.SetColHidden(ReverseScribes, !s.Scribes);
}

} // namespace vx
