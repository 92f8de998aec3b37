#pragma once
// Matching the columns of an example file to machine fields by its header line: a header
// names a field when it equals the field's display label, its MainName or one of its known
// header names (tblHeaderNames, which a shop can extend), ignoring letter case, blanks,
// punctuation and a unit ("Length (mm)", "length_in", "Qty.", "part name").
#include "config/TableStore.h"
#include "mapping/ColumnMapping.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

// A header reduced to what is compared: letters and digits in lower case, without a unit
// in brackets or at its end.
std::string HeaderKey(std::string_view header);

// The rows of tblHeaderNames as (MainName, HeaderName); none when the table is missing (a
// configuration from before it existed).
std::vector<std::pair<std::string, std::string>> ReadKnownHeaderNames(Connection& connection);

// Selects for each column not chosen by hand (byHand[c - 1]) the field its header names,
// or "NOT USED" when it names none; a field already shown by a hand-chosen column, or
// matched by an earlier column, is not taken again. Returns the number of columns matched.
int MatchColumnsByHeader(ColumnMapping& mapping, const std::vector<std::string>& headers,
                         const std::vector<std::pair<std::string, std::string>>& knownNames,
                         const std::vector<bool>& byHand);

} // namespace vx
