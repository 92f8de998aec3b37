#include "convert/modCLTScribes.h"

#include "base/NumberText.h"
#include "convert/PositionLists.h"

#include <cmath>
#include <vector>

namespace vx {

namespace {
const PositionListMessages kScribeMessages{
    "A Scribe Location can not be evaluated as a number.", "A Scribe Location value is < 0.",
    "The last absolute Scribe position (sum of incremental positions) exceeds the part length."};

// True when the criteria's cleaning leaves a list as it is: one entry, or several without a
// zero among them and without a final scribe within 0.3 of the part's end. One pass over
// the text, nothing copied: most lists need nothing done.
bool NeedsNoCleaning(std::string_view list, double length)
{
    if (list.find('|') == std::string_view::npos)
        return true;
    double sum = 0;
    size_t start = 0, bar;
    do {
        bar = list.find('|', start);
        if (auto value = ParseNumber(list.substr(start, bar == std::string_view::npos ? bar : bar - start))) {
            if (*value == 0)
                return false;
            sum += *value;
        }
        start = bar + 1;
    } while (bar != std::string_view::npos);
    return !(length - sum < 0.3);
}

std::string JoinEntries(const std::vector<std::string>& entries)
{
    std::string out;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i)
            out += '|';
        out += entries[i];
    }
    return out;
}
} // namespace

void CheckScribeList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength)
{
    CheckPositionList(list, errorFlag, errorText, partLength, kScribeMessages);
}

AbsolutePositions ScribePositions(const std::string& list, double partLength)
{
    return ToAbsolutePositions(list, partLength, kScribeMessages);
}

std::string CheckForRemoveEndScribe(const std::string& list, double length)
{
    size_t last = list.rfind('|');
    if (last == std::string::npos)
        return list;
    if (length - SumOfNumericEntries(list) < 0.3)
        return list.substr(0, last);
    return list;
}

std::string CheckForAddEndScribe(const std::string& list, double length)
{
    double sum = SumOfNumericEntries(list);
    if (sum >= 0.2 && std::fabs(sum - length) >= 0.3) {
        double gap = RoundHalfEven(length - sum, 3);
        if (gap >= 0)
            return list + "|" + FormatNumber(gap);
    }
    return list;
}

std::string ReverseTheScribes(const std::string& CurrentScribes)
{
    std::vector<std::string> entries = SplitPositionList(CurrentScribes);
    if (entries.size() <= 1)
        return CurrentScribes;
    return JoinEntries(std::vector<std::string>(entries.rbegin(), entries.rend()));
}

std::string MirrorScribes(const std::string& list, double length)
{
    return CheckForRemoveEndScribe(ReverseTheScribes(CheckForAddEndScribe(list, length)), length);
}

std::string ConvertScribeUnits(const std::string& list, double factor, int places)
{
    std::string trimmed = TrimBlanks(list);
    if (trimmed.empty())
        return {};
    std::vector<std::string> kept;
    for (const std::string& entry : SplitPositionList(trimmed)) {
        auto value = ParseNumber(entry);
        if (value && *value > 0)
            kept.push_back(FormatNumber(RoundHalfEven(*value * factor, places)));
    }
    return JoinEntries(kept);
}

std::string RemoveZeros(const std::string& tmpstr)
{
    std::vector<std::string> entries = SplitPositionList(tmpstr);
    if (entries.size() == 1)
        return tmpstr;
    std::vector<std::string> kept;
    for (const std::string& entry : entries) {
        // Entries that are not numbers are kept: the "Check Scribes" button reports them.
        auto value = ParseNumber(entry);
        if (!value || *value != 0)
            kept.push_back(entry);
    }
    return JoinEntries(kept);
}

std::string ApplyScribeCriteria(const std::string& scribes, double length, bool reverseWanted, bool& reversed)
{
    if (reverseWanted == reversed && NeedsNoCleaning(TrimSpaces(scribes), length))
        return scribes;
    std::string stored = scribes;
    std::string list(TrimSpaces(scribes));
    if (list.empty())
        return stored;
    std::string cleaned = RemoveZeros(list);
    if (cleaned != list)
        stored = list = cleaned;
    cleaned = CheckForRemoveEndScribe(list, length);
    if (cleaned != list)
        stored = list = cleaned;
    if (reverseWanted != reversed) {
        std::string current(TrimSpaces(stored));
        if (!current.empty()) {
            stored = MirrorScribes(current, length);
            reversed = reverseWanted;
        }
    }
    return stored;
}

} // namespace vx
