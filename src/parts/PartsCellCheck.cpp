#include "parts/PartsCellCheck.h"

#include "base/NumberText.h"
#include "base/VxError.h"
#include "config/modCLTTools.h"

#include <limits>

namespace vx {

std::optional<std::string> PartsCellRefusal(std::string_view column, FieldType type, const std::string& label,
                                            const std::string& typed)
{
    std::string message;
    if (type == FieldType::Double) {
        double value = 0;
        double limit = -std::numeric_limits<double>::max();
        bool limitAllowed = true;
        if (EqualsNoCase(column, "Width") || EqualsNoCase(column, "Length")) {
            limit = 0;
            limitAllowed = false;
        } else if (EqualsNoCase(column, "Thickness")) {
            limit = 0;
        }
        if (CheckDoubleValue(label, typed, value, limit, limitAllowed, message))
            return std::nullopt;
        return message;
    }
    if (type == FieldType::Long) {
        int32_t value = 0;
        try {
            if (CheckLongValue(label, typed, value, 0, true, message))
                return std::nullopt;
        } catch (const VxError&) {
            message = "Value entered for " + label + " is too large.";
        }
        return message;
    }
    if (EqualsNoCase(column, "Part") && TrimBlanks(typed).empty())
        return "Value required for " + label + ".";
    return std::nullopt;
}

} // namespace vx
