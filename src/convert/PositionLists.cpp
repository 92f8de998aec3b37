#include "convert/PositionLists.h"

#include "config/NumberText.h"

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

void CheckPositionList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength,
                       const PositionListMessages& messages)
{
    errorFlag = true;
    errorText.clear();
    std::string trimmed = TrimBlanks(list);
    if (trimmed.empty()) {
        errorFlag = false;
        return;
    }
    double sum = 0;
    for (const std::string& entry : SplitPositionList(trimmed)) {
        auto value = ParseNumber(entry);
        if (!value) {
            errorText = messages.notNumeric;
            return;
        }
        if (*value < 0) {
            errorText = messages.belowZero;
            return;
        }
        sum += *value;
    }
    if (sum <= partLength)
        errorFlag = false;
    else
        errorText = messages.beyondLength;
}

} // namespace vx
