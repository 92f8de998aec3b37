#pragma once
// The check of a value typed into a cell of a parts file's grid (tblParts), made before the
// value reaches the file: the file never takes a value that a conversion would have refused
// for that field, and the refusal names the field by the label the operator sees.
#include "config/TableStore.h"

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The message refusing `typed` for the tblParts column `column` (of type `type`, shown
// under `label`), or nothing when the column can hold it. Width and Length take a number
// > 0, Thickness a number >= 0, other number columns any number; whole-number columns
// (Quantity, SEQ_NUM) a whole number >= 0; Part any text but an empty one.
std::optional<std::string> PartsCellRefusal(std::string_view column, FieldType type, const std::string& label,
                                            const std::string& typed);

} // namespace vx
