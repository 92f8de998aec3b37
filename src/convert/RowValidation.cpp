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

bool CheckForValidData(int32_t FileCol, int32_t NumColumns, std::string_view FieldName, std::string_view sDataField,
                       std::string_view sDataType, std::string& sErrMsg, std::string_view sUserLabel)
{
    try {
        if (FileCol > NumColumns) {
            sErrMsg = std::string(sUserLabel) + " is mapped to column " + std::to_string(FileCol) +
                      ", but the column does not exist in this row. ";
            return false;
        }
        if (EqualsNoCase(sDataType, "LONG")) {
            auto value = ParseNumber(sDataField);
            if (!value) {
                sErrMsg = ColumnMessage(FileCol, sUserLabel, " can not be evaluated as a number. ");
                return false;
            }
            if (RoundToLong(*value) < 0) {
                sErrMsg = ColumnMessage(FileCol, sUserLabel, " must be >=0. ");
                return false;
            }
            return true;
        }
        if (EqualsNoCase(sDataType, "DOUBLE")) {
            auto value = ParseNumber(sDataField);
            if (!value) {
                sErrMsg = ColumnMessage(FileCol, sUserLabel, " can not be evaluated as a number. ");
                return false;
            }
            if ((EqualsNoCase(FieldName, "WIDTH") || EqualsNoCase(FieldName, "LENGTH")) && !(*value > 0)) {
                sErrMsg = ColumnMessage(FileCol, sUserLabel, " must be > 0. ");
                return false;
            }
            if (EqualsNoCase(FieldName, "THICKNESS") && !(*value >= 0)) {
                sErrMsg = ColumnMessage(FileCol, sUserLabel, " must be >= 0. ");
                return false;
            }
            return true;
        }
        if (EqualsNoCase(FieldName, "PART") && sDataField.empty()) {
            sErrMsg = "There was no " + std::string(sUserLabel) + " data in column " + std::to_string(FileCol) + ". ";
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        return false;
    }
}

} // namespace vx
