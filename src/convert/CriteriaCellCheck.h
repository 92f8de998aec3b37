#pragma once
// The check of a value typed into a cell of a part-criteria grid (tblPartsCriteria), made
// before the value reaches the table: a value its column cannot use is refused with a
// message that names the column and says what it takes, and the cell keeps its old value.
// The convert screen and the view/edit screen share it for their criteria grids.
#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The message refusing `typed` for the tblPartsCriteria column `column` (any letter case),
// or nothing when the column can hold it. The number columns take a number >= 0, Process
// a whole number >= 1; blanks are refused there too, as a criteria row without its numbers
// cannot be applied. Text and Boolean columns take anything.
std::optional<std::string> CriteriaCellRefusal(std::string_view column, std::string_view typed);

} // namespace vx
