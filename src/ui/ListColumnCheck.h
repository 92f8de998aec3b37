#pragma once
// The "Check Scribes" / "Check Space Balls" buttons of the screens that show parts in a
// grid: every row's list cell is checked against its length; the first failing cell is
// selected and scrolled into view with the error, else "No errors found ...".
namespace vx {

class BoundGrid;

// lengthCol and listCol are grid columns (0 when the grid has none); hasParts false gives
// "There are no parts.".
void CheckListColumn(BoundGrid& grid, bool scribes, bool hasParts, int lengthCol, int listCol);

} // namespace vx
