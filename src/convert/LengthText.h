#pragma once
// Lengths as cut-list tools write them (the LengthsWithUnits setting): inch fractions with
// or without an inch mark (23 1/4, 29-1/16", 23/32", 72 in), millimetres and centimetres
// with their unit (7620mm, 60 cm) and a decimal comma (53,5). They are read into plain
// numbers in the file's unit before the usual value checks.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

enum class LengthUnit { None, Inch, Millimetre, Centimetre };

// The unit of a file's lengths by the length conversion: inches for 1 (inches to mm),
// millimetres for 2 (mm to inches), none otherwise.
LengthUnit FileUnitOf(int convertLengthType);

struct LengthReading {
    double value = 0; // in the file's unit when it has one, else as written
    LengthUnit unit = LengthUnit::None;
};

// Reads one length. A decimal comma is accepted only with decimalComma (the file's
// delimiter is not a comma). With feetAndInches, feet with or without inches (5', 5' 6",
// 5'-8 1/2", 7'-3/4", 2 ft 3 in) are read as inches. Nothing when the text is no length in
// any of these forms.
std::optional<LengthReading> ReadLength(std::string_view text, LengthUnit fileUnit, bool decimalComma,
                                        bool feetAndInches = false);

// The entries of a scribe or space-ball list ("|" between them) that read as lengths,
// rewritten as plain numbers in the file's unit; other entries stay as written. units, when
// given, receives the unit each entry was written with.
std::string ReadPositionList(std::string_view list, LengthUnit fileUnit, bool decimalComma,
                             std::vector<LengthUnit>* units = nullptr);

} // namespace vx
