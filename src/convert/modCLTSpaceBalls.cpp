#include "convert/modCLTSpaceBalls.h"

#include "base/NumberText.h"
#include "convert/PositionLists.h"

#include <vector>

namespace vx {

namespace {
const PositionListMessages kSpaceBallMessages{
    "A Space Ball location can not be evaluated as a number.", "A Space Ball location is < 0.",
    "The last absolute Space Ball position (sum of incremental positions) exceeds the part length."};
} // namespace

void CheckSpaceBallList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength)
{
    CheckPositionList(list, errorFlag, errorText, partLength, kSpaceBallMessages);
}

AbsolutePositions SpaceBallPositions(const std::string& list, double partLength)
{
    return ToAbsolutePositions(list, partLength, kSpaceBallMessages);
}

bool CheckExtraSpaceBalls(std::array<std::string, 2>& texts, std::array<double, 2>& lengths, std::string& errorText)
{
    errorText.clear();
    for (size_t i = 0; i < 2; ++i) {
        std::string text = TrimBlanks(texts[i]);
        if (text.empty()) {
            lengths[i] = kNoExtraSpaceBallLength;
            texts[i].clear();
            continue;
        }
        auto value = ParseNumber(text);
        if (!value) {
            errorText = "Length given for extra space balls can not be evaluated as a number, please re-enter.";
            return false;
        }
        if (*value < 0) {
            errorText = "Length given for extra space balls must be >=0 , please re-enter.";
            return false;
        }
        lengths[i] = *value;
        texts[i] = FormatNumber(*value);
    }
    if (lengths[1] < lengths[0]) {
        errorText = "Length given for 4 extra space balls must be >= Length given for 3 extra space balls, please "
                    "re-enter.";
        return false;
    }
    return true;
}

std::string CalculateSpaceBalls(double partLength, double location, const std::array<double, 2>& lengths)
{
    if (location <= 0 || partLength / 2 <= location)
        return {};
    double first = location, last = partLength - location;
    std::vector<double> positions{first, last};
    if (partLength >= lengths[1]) {
        double step = (last - first) / 3;
        positions = {first, first + step, first + 2 * step, last};
    } else if (partLength >= lengths[0]) {
        double step = (last - first) / 2;
        positions = {first, first + step, last};
    }
    std::string out;
    double previous = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        if (i)
            out += '|';
        out += FormatFixed(positions[i] - previous, 2);
        previous = positions[i];
    }
    return out;
}

} // namespace vx
