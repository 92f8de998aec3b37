#include "config/modCLTTools.h"

#include "base/NumberText.h"

namespace vx {

namespace {
// Shared steps 1-3: presence and the number test.
bool CheckPresentNumber(const std::string& fieldName, const std::string& entered, double& number, std::string& message)
{
    std::string text = TrimBlanks(entered);
    if (text.empty()) {
        message = "Value required for " + fieldName + ".";
        return false;
    }
    auto parsed = ParseNumber(text);
    if (!parsed) {
        message = "Value entered for " + fieldName + " can not be evaluated as a number.";
        return false;
    }
    number = *parsed;
    return true;
}

bool CheckLimit(const std::string& fieldName, double value, double limit, bool limitAllowed, std::string& message)
{
    if (limitAllowed ? value >= limit : value > limit)
        return true;
    message = fieldName + (limitAllowed ? " must be >= " : " must be > ") + FormatNumber(limit);
    return false;
}
} // namespace

bool CheckDoubleValue(const std::string& fieldName, const std::string& entered, double& value, double limit,
                      bool limitAllowed, std::string& message)
{
    double number = 0;
    if (!CheckPresentNumber(fieldName, entered, number, message))
        return false;
    value = number;
    return CheckLimit(fieldName, value, limit, limitAllowed, message);
}

bool CheckLongValue(const std::string& fieldName, const std::string& entered, int32_t& value, int32_t limit,
                    bool limitAllowed, std::string& message)
{
    double number = 0;
    if (!CheckPresentNumber(fieldName, entered, number, message))
        return false;
    value = RoundToLong(number);
    return CheckLimit(fieldName, value, limit, limitAllowed, message);
}

} // namespace vx
