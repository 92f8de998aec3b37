#include "convert/PartSketch.h"

#include "base/NumberText.h"
#include "config/TableStore.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"

#include <algorithm>

namespace vx {

PartMarks PartMarkPositions(double length, const std::string& scribes, const std::string& spaceBalls)
{
    return {ScribePositions(scribes, length), SpaceBallPositions(spaceBalls, length)};
}

namespace {
Variant Field(const RecordSet& rs, int row, std::string_view name)
{
    int column = rs.ColumnIndex(name);
    return column < 0 ? Variant() : rs.ValueAt(row, column);
}

double Number(const Variant& v)
{
    if (v.isText())
        return ParseNumber(v.toText()).value_or(0);
    return v.toDouble();
}
} // namespace

PartSketch ReadPartSketch(const RecordSet& rs, int row)
{
    PartSketch p;
    p.part = Field(rs, row, "Part").toText();
    p.material = Field(rs, row, "Material").toText();
    p.seqNum = Field(rs, row, "SEQ_NUM").toText();
    Variant quantity = Field(rs, row, "Quantity");
    if (!quantity.isNull())
        p.quantity = static_cast<int>(std::clamp(Number(quantity), -1e9, 1e9));
    p.length = Number(Field(rs, row, "Length"));
    p.width = Number(Field(rs, row, "Width"));
    p.thickness = Number(Field(rs, row, "Thickness"));
    p.panel = Number(Field(rs, row, "Panel")) != 0;
    p.bGrade = Number(Field(rs, row, "B_Grade")) != 0;
    p.pocketHoles = Number(Field(rs, row, "PocketHoles")) != 0;
    p.scribes = Field(rs, row, "Scribes").toText();
    p.spaceBalls = Field(rs, row, "SpaceBalls").toText();
    return p;
}

std::string PartSizeText(const PartSketch& part, bool alwaysThickness)
{
    std::string text = FormatNumber(part.length) + " \u00d7 " + FormatNumber(part.width);
    if (alwaysThickness || part.thickness > 0)
        text += " \u00d7 " + FormatNumber(part.thickness);
    return text;
}

std::string PartFlagsText(const PartSketch& part)
{
    std::string text;
    auto add = [&](bool on, const char* word) {
        if (!on)
            return;
        if (!text.empty())
            text += "  ";
        text += word;
    };
    add(part.panel, "PANEL");
    add(part.bGrade, "B GRADE");
    add(part.pocketHoles, "POCKET HOLES");
    return text;
}

} // namespace vx
