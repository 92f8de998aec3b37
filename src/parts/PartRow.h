#pragma once
// One part record written as one row of a parts table (tblParts of a parts file or of the
// manual working database): the quantity stays in the row, user field i goes to UF_i.
#include "config/TableStore.h"

#include <string>
#include <vector>

namespace vx {

class cCLTPart;

// Appends and saves the row; on failure nothing is added and the error reaches the caller.
void AppendPartRow(RecordSet& parts, const cCLTPart& part, int32_t seqNum, const std::string& fileName);

// Deletes the tblParts rows with these AutoIDNum values in one transaction: all or none.
void DeletePartRows(Connection& connection, const std::vector<int64_t>& autoIds);

} // namespace vx
