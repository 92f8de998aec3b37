#include "convert/CriteriaCellCheck.h"

#include "base/NumberText.h"

#include <cmath>
#include <cstdint>

namespace vx {

std::optional<std::string> CriteriaCellRefusal(std::string_view column, std::string_view typed)
{
    std::optional<double> number = ParseNumber(typed);
    if (EqualsNoCase(column, "Space_Ball_Loc") || EqualsNoCase(column, "Min_Panel_Width")) {
        if (number && *number >= 0)
            return std::nullopt;
        return std::string(column) + " must be a number >= 0.";
    }
    if (EqualsNoCase(column, "Process")) {
        if (number && *number >= 1 && *number <= INT32_MAX && std::floor(*number) == *number)
            return std::nullopt;
        return std::string(column) + " must be a whole number >= 1.";
    }
    return std::nullopt;
}

} // namespace vx
