#pragma once
// Default mappings: ready-made column layouts of known file types, one table per layout in
// CLTDef.mdb, listed in tblDefaultMappingsID. Loading one fills the mapping screen's mapping
// row and display labels; nothing is stored until the mapping is saved.
#include "mapping/ColumnMapping.h"

#include <string>

namespace vx {

// Copies the default mapping table into the mapping row (of the example's width) and the
// display labels. Columns beyond the example's width are left unmapped and reported as
// information in the error log window. A missing table, or a row whose IDNum is not a
// field of the mapping, ends the load with the standard error message before anything
// changes. Returns true when the mapping was loaded.
bool LoadADefaultMapping(ColumnMapping& mapping, const std::string& tableName);

} // namespace vx
