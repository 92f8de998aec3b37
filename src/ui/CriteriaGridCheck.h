#pragma once
// Puts the criteria cell check on a grid bound to tblPartsCriteria: a typed value its
// column cannot hold is refused with a message naming the column, the old value kept.
namespace vx {

class BoundGrid;

void InstallCriteriaCellCheck(BoundGrid& grid);

} // namespace vx
