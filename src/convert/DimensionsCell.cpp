#include "convert/DimensionsCell.h"

#include "base/NumberText.h"

namespace vx {

namespace {
constexpr std::string_view kTimesSign = "\xC3\x97"; // U+00D7 in UTF-8

const char* DimensionName(char letter) { return letter == 'L' ? "LENGTH" : letter == 'W' ? "WIDTH" : "THICKNESS"; }
} // namespace

const std::vector<std::string>& DimensionOrders()
{
    static const std::vector<std::string> orders{"LWT", "WLT", "TWL", "TLW", "LW", "WL"};
    return orders;
}

std::string DimensionOrderOf(std::string_view setting)
{
    const std::string wanted = UpperCase(TrimBlanks(std::string(setting)));
    for (const std::string& order : DimensionOrders())
        if (order == wanted)
            return order;
    return DimensionOrders().front();
}

std::string DimensionOrderText(std::string_view order)
{
    std::string text;
    for (char letter : order)
        text += (text.empty() ? "" : " \xC3\x97 ") + LowerCase(DimensionName(letter));
    return text;
}

std::vector<std::string_view> SplitDimensions(std::string_view cell)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= cell.size();) {
        size_t width = 0;
        if (i == cell.size())
            width = 1;
        else if (cell[i] == 'x' || cell[i] == 'X' || cell[i] == '*')
            width = 1;
        else if (cell.substr(i, kTimesSign.size()) == kTimesSign)
            width = kTimesSign.size();
        if (width == 0) {
            ++i;
            continue;
        }
        parts.push_back(TrimSpaces(cell.substr(start, i - start)));
        i += width;
        start = i;
    }
    return parts;
}

void ExpandDimensionsField(std::vector<MappedField>& fields, std::string_view order)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!EqualsNoCase(fields[i].MainName, kDimensionsField))
            continue;
        const MappedField cell = fields[i];
        fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(i));
        std::vector<MappedField> parts;
        for (size_t k = 0; k < order.size(); ++k) {
            MappedField f = cell;
            f.MainName = DimensionName(order[k]);
            f.DataType = "DOUBLE";
            f.cellPart = static_cast<int>(k);
            f.cellParts = static_cast<int>(order.size());
            parts.push_back(std::move(f));
        }
        fields.insert(fields.begin() + static_cast<std::ptrdiff_t>(i), parts.begin(), parts.end());
        return;
    }
}

namespace {
const MappingEntry* MappedDimensions(const std::vector<MappingEntry>& mapping)
{
    for (const MappingEntry& e : mapping)
        if (e.mapped && EqualsNoCase(e.MainName, kDimensionsField))
            return &e;
    return nullptr;
}
} // namespace

bool GivenByDimensions(std::string_view mainName, const std::vector<MappingEntry>& mapping, std::string_view order)
{
    if (!MappedDimensions(mapping))
        return false;
    for (char letter : order)
        if (EqualsNoCase(mainName, DimensionName(letter)))
            return true;
    return false;
}

std::vector<std::string> DimensionsClashes(const std::vector<MappingEntry>& mapping, std::string_view order)
{
    std::vector<std::string> messages;
    const MappingEntry* cell = MappedDimensions(mapping);
    if (!cell)
        return messages;
    for (const MappingEntry& e : mapping)
        if (e.mapped && GivenByDimensions(e.MainName, mapping, order))
            messages.push_back("DB Name: " + e.MainName + ", Display Label: " + e.Label +
                               " can not have a column of its own while DB Name: " + kDimensionsField +
                               ", Display Label: " + cell->Label + " holds " + DimensionOrderText(order) +
                               ". Map either " + cell->Label + " or separate columns." + "\r\n\r\n");
    return messages;
}

} // namespace vx
