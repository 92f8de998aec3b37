#include "convert/PositionLists.h"

#include "base/NumberText.h"

namespace vx {

std::vector<std::string> SplitPositionList(std::string_view list) { return SplitText(list, "|"); }

double SumOfNumericEntries(std::string_view list)
{
    double sum = 0;
    for (const std::string& entry : SplitPositionList(list))
        if (auto v = ParseNumber(entry))
            sum += *v;
    return sum;
}

AbsolutePositions ToAbsolutePositions(const std::string& list, double partLength, const PositionListMessages& messages)
{
    AbsolutePositions out;
    std::string trimmed = TrimBlanks(list);
    if (trimmed.empty())
        return out;
    double sum = 0;
    bool pastTheEnd = false;
    for (const std::string& entry : SplitPositionList(trimmed)) {
        auto value = ParseNumber(entry);
        if (!value) {
            out.problem = messages.notNumeric;
            return out;
        }
        if (*value < 0) {
            out.problem = messages.belowZero;
            return out;
        }
        sum += *value;
        // Entries are never negative, so once past the end every later position is too.
        pastTheEnd = pastTheEnd || !(sum <= partLength);
        if (!pastTheEnd)
            out.positions.push_back(sum);
    }
    if (pastTheEnd)
        out.problem = messages.beyondLength;
    return out;
}

void CheckPositionList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength,
                       const PositionListMessages& messages)
{
    errorText = ToAbsolutePositions(list, partLength, messages).problem;
    errorFlag = !errorText.empty();
}

} // namespace vx
