#pragma once
// Helpers shared by the scribe and space-ball lists: texts of incremental positions
// separated by "|" ("20|30" means marks at 20 and 50).
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The entries of a list, split at "|" (an empty text gives one empty entry).
std::vector<std::string> SplitPositionList(std::string_view list);
// The sum of the entries that are numbers; other entries count as nothing.
double SumOfNumericEntries(std::string_view list);

// The messages of one kind of list for its three checks.
struct PositionListMessages {
    const char* notNumeric;
    const char* belowZero;
    const char* beyondLength;
};

// The absolute positions of a list (running sums of its entries) and the list check's
// verdict on it: problem is empty for a valid list, else the check's message, and the
// positions stop where the list stops being valid (a non-number, a value below 0, or the
// first position past the part's end).
struct AbsolutePositions {
    std::vector<double> positions;
    std::string problem;
};
AbsolutePositions ToAbsolutePositions(const std::string& list, double partLength, const PositionListMessages& messages);

// The list check: an empty list is valid; every entry must be a number >= 0 (checked in
// order) and the sum of all entries must not exceed the part length.
void CheckPositionList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength,
                       const PositionListMessages& messages);

} // namespace vx
