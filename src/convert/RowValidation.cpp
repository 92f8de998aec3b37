#include "convert/RowValidation.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/VxError.h"

#include <cmath>

namespace vx {

namespace {
std::string ColumnMessage(int32_t fileCol, std::string_view label, const char* tail)
{
    std::string msg = "The data in column ";
    msg += std::to_string(fileCol);
    msg += " for ";
    msg += label;
    msg += tail;
    return msg;
}
} // namespace

ValueRule RuleFor(std::string_view FieldName, std::string_view sDataType)
{
    if (EqualsNoCase(sDataType, "LONG"))
        return ValueRule::WholeNumber;
    if (EqualsNoCase(sDataType, "DOUBLE")) {
        if (EqualsNoCase(FieldName, "WIDTH") || EqualsNoCase(FieldName, "LENGTH"))
            return ValueRule::PositiveNumber;
        if (EqualsNoCase(FieldName, "THICKNESS"))
            return ValueRule::NonNegativeNumber;
        return ValueRule::Number;
    }
    return EqualsNoCase(FieldName, "PART") ? ValueRule::PartName : ValueRule::Text;
}

bool CheckValue(ValueRule rule, int32_t FileCol, int32_t NumColumns, std::string_view value, std::string_view label,
                std::string& sErrMsg, double* number)
{
    {
        if (FileCol > NumColumns) {
            sErrMsg = std::string(label) + " is mapped to column " + std::to_string(FileCol) +
                      ", but the column does not exist in this row. ";
            return false;
        }
        if (rule == ValueRule::Text)
            return true;
        if (rule == ValueRule::PartName) {
            if (!value.empty())
                return true;
            sErrMsg = "There was no " + std::string(label) + " data in column " + std::to_string(FileCol) + ". ";
            return false;
        }
        auto parsed = ParseNumber(value);
        if (!parsed) {
            sErrMsg = ColumnMessage(FileCol, label, " can not be evaluated as a number. ");
            return false;
        }
        if (number)
            *number = *parsed;
        switch (rule) {
        case ValueRule::WholeNumber:
            if (RoundToLong(*parsed) >= 0)
                return true;
            sErrMsg = ColumnMessage(FileCol, label, " must be >=0. ");
            return false;
        case ValueRule::PositiveNumber:
            if (*parsed > 0)
                return true;
            sErrMsg = ColumnMessage(FileCol, label, " must be > 0. ");
            return false;
        case ValueRule::NonNegativeNumber:
            if (*parsed >= 0)
                return true;
            sErrMsg = ColumnMessage(FileCol, label, " must be >= 0. ");
            return false;
        default: return true;
        }
    }
}

double StoredLength(std::string_view text, double value, double factor, int places)
{
    if (factor == 1.0) {
        // A plain decimal with no more places than wanted and at most 15 digits is its own
        // rounding (the common case, which decides a million rows' reading time).
        size_t digits = 0, decimals = 0;
        bool afterPoint = false, plain = true, leading = true;
        for (char c : TrimSpaces(text)) {
            if (c >= '0' && c <= '9') {
                if (c != '0' || !leading)
                    leading = false, ++digits;
                if (afterPoint)
                    ++decimals;
            } else if (c == '.')
                afterPoint = true;
            else if (c != '+' && c != '-' && c != ' ' && c != '\t')
                plain = false;
        }
        if (plain && decimals <= static_cast<size_t>(places) && digits <= 15)
            return value;
        return RoundHalfEven(value, places);
    }
    double scaled = value * factor;
    static const double kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (places >= 0 && places <= 6) {
        double s = scaled * kScale[places];
        if (std::fabs(s) < 1e8) {
            double fraction = s - std::floor(s);
            if (std::fabs(fraction - 0.5) > 1e-6) {
                double r = std::nearbyint(s) / kScale[places];
                return r == 0.0 ? 0.0 : r;
            }
        }
    }
    return RoundHalfEven(scaled, places);
}

bool CheckStoredLength(ValueRule rule, int32_t FileCol, double stored, std::string_view label, std::string& sErrMsg)
{
    if (!std::isfinite(stored)) {
        sErrMsg = ColumnMessage(FileCol, label, " can not be evaluated as a number. ");
        return false;
    }
    if (rule == ValueRule::PositiveNumber && !(stored > 0)) {
        sErrMsg = ColumnMessage(FileCol, label, " must be > 0. ");
        return false;
    }
    if (rule == ValueRule::NonNegativeNumber && stored < 0) {
        sErrMsg = ColumnMessage(FileCol, label, " must be >= 0. ");
        return false;
    }
    return true;
}

bool CheckForValidData(int32_t FileCol, int32_t NumColumns, std::string_view FieldName, std::string_view sDataField,
                       std::string_view sDataType, std::string& sErrMsg, std::string_view sUserLabel)
{
    try {
        return CheckValue(RuleFor(FieldName, sDataType), FileCol, NumColumns, sDataField, sUserLabel, sErrMsg);
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        return false;
    }
}

} // namespace vx
