#include "convert/RowValidation.h"

#include "config/NumberText.h"
#include "config/VxError.h"
#include "start/Messages.h"

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
