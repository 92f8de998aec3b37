#pragma once
// One cell holding every dimension of a part (800×720×19, "0.160 x 14.0 x 36.0", 600 x 400):
// the DIMENSIONS field of the mapping, the order its numbers are written in, and the
// reading of the cell into the width, length and thickness fields.
#include "convert/PartsFileReader.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx {

inline constexpr const char* kDimensionsField = "DIMENSIONS";

// The orders offered, as letters of length, width and thickness in the cell's order.
const std::vector<std::string>& DimensionOrders();
// The order setting as stored, or "LWT" when it is none of the offered ones.
std::string DimensionOrderOf(std::string_view setting);
// "length × width × thickness" for "LWT": what a cell of that order must hold.
std::string DimensionOrderText(std::string_view order);

// The numbers of a cell, split at ×, x, X or * and trimmed (an empty cell gives one empty part).
std::vector<std::string_view> SplitDimensions(std::string_view cell);

// Replaces a mapped DIMENSIONS field by one width, length and (for three numbers) thickness
// field reading its column, each with its place in the cell and the DIMENSIONS label.
void ExpandDimensionsField(std::vector<MappedField>& fields, std::string_view order);

// A field of the mapping as the mapping checks see it.
struct MappingEntry {
    std::string MainName, Label;
    bool mapped = false;
};
// True when a mapped DIMENSIONS field of that order gives the field (width, length, and for
// three numbers thickness).
bool GivenByDimensions(std::string_view mainName, const std::vector<MappingEntry>& mapping, std::string_view order);
// One message (ending in CR LF CR LF) per field mapped to a column of its own that a mapped
// DIMENSIONS field gives too: the mapping would read two values for it.
std::vector<std::string> DimensionsClashes(const std::vector<MappingEntry>& mapping, std::string_view order);

} // namespace vx
