#pragma once
// The columns of a grid bound to tblPartsCriteria (grid numbering, in the table's column
// order) and the rule the screens share for which of them the machine settings show.
namespace vx {

class BoundGrid;

namespace CriteriaGridCol {
constexpr int Record = 1, Part = 2, ValidPart = 3, BGrade = 4, PocketHoles = 5, SpaceBallLoc = 6, Panel = 7,
              MinPanelWidth = 8, Process = 9, SwitchDims = 10, ReverseScribes = 11;
}

// Hides the record number and the columns of options the settings leave out (B grade,
// pocket holes, space balls, panels, mirrored scribes); the grid is made editable.
void ShowCriteriaColumnsForSettings(BoundGrid& grid);

} // namespace vx
