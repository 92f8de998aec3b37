#pragma once
// The check of one mapped value of a delimited line, by the mapping's data type and the
// machine field's name.
#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

// True when the value may be written; otherwise sErrMsg names the column and the label.
// A failure inside the check (a whole number beyond 32 bits) is shown through ShowMessage
// and gives false with sErrMsg left empty.
bool CheckForValidData(int32_t FileCol, int32_t NumColumns, std::string_view FieldName, std::string_view sDataField,
                       std::string_view sDataType, std::string& sErrMsg, std::string_view sUserLabel);

// The same check with the rule worked out once per mapped field (the reader checks a
// million values with it). number receives the value when the rule reads one. A failure
// inside the check (overflow) is thrown, for the caller to show.
enum class ValueRule { WholeNumber, Number, PositiveNumber, NonNegativeNumber, PartName, Text };
ValueRule RuleFor(std::string_view FieldName, std::string_view sDataType);
bool CheckValue(ValueRule rule, int32_t FileCol, int32_t NumColumns, std::string_view value, std::string_view label,
                std::string& sErrMsg, double* number = nullptr);

// The number a width, length or thickness is stored with: times factor and rounded half to
// even to places (6 without conversion). text is the value as written, which spares the
// rounding of a plain decimal that has no more places.
double StoredLength(std::string_view text, double value, double factor, int places);
// The check of a length as it would be stored: infinite or undefined fails as not a number,
// and a value rounded to zero fails where the rule wants more than zero, each with the
// field's usual message.
bool CheckStoredLength(ValueRule rule, int32_t FileCol, double stored, std::string_view label, std::string& sErrMsg);

} // namespace vx
