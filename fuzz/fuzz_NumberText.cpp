// The one general number test and the whole-number conversion on arbitrary text.
// ParseNumber is compared with an independent reading of the accepted grammar (blanks,
// optional sign, digits with at most one ".", optional exponent; finite doubles only);
// RoundToLong either gives a value within 32 bits or raises the overflow error; a number
// written with FormatNumber reads back as the same number to 15 significant digits.
#include "FuzzSupport.h"

#include "base/NumberText.h"
#include "base/VxError.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when text has the shape of a number (ignoring range).
bool HasNumberShape(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    size_t i = b, digits = 0;
    if (i < e && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool point = false;
    for (; i < e && (IsDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            if (point)
                return false;
            point = true;
        } else {
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t expDigits = 0;
        for (; i < e && IsDigit(text[i]); ++i)
            ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == e;
}

void CheckWholeNumber(double value)
{
    try {
        int32_t n = vx::RoundToLong(value);
        vxfuzz::Require(std::fabs(static_cast<double>(n) - value) <= 0.5, "RoundToLong strayed from its value");
    } catch (const vx::VxError& e) {
        vxfuzz::Require(e.number() == vx::kErrOverflow, "RoundToLong raised a wrong error");
        double r = std::nearbyint(value);
        vxfuzz::Require(std::isnan(value) || r < -2147483648.0 || r > 2147483647.0,
                        "RoundToLong overflowed inside the 32-bit range");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::optional<double> parsed = vx::ParseNumber(text);
    vxfuzz::Require(parsed.has_value() == vx::IsNumeric(text), "IsNumeric differs from ParseNumber");

    if (!HasNumberShape(text)) {
        vxfuzz::Require(!parsed, "accepted a text that is not a number: " + text);
    } else if (text.find('\0') == std::string::npos) {
        std::string trimmed = vx::TrimBlanks(text);
        errno = 0;
        double reference = std::strtod(trimmed.c_str(), nullptr);
        bool overflow = std::isinf(reference);
        bool underflow = errno == ERANGE && !overflow;
        if (overflow)
            vxfuzz::Require(!parsed, "accepted a number outside the double range: " + text);
        else if (!underflow)
            vxfuzz::Require(parsed && *parsed == reference, "refused or misread a number: " + text);
    }

    if (parsed) {
        vxfuzz::Require(std::isfinite(*parsed), "ParseNumber gave a value that is not finite");
        CheckWholeNumber(*parsed);
        try {
            vx::ToLong(text);
        } catch (const vx::VxError& e) {
            vxfuzz::Require(e.number() == vx::kErrOverflow, "ToLong raised a wrong error for a number");
        }
        std::string written = vx::FormatNumber(*parsed);
        std::optional<double> back = vx::ParseNumber(written);
        vxfuzz::Require(back.has_value(), "FormatNumber wrote a text that is not a number: " + written);
        double tolerance = std::max(std::fabs(*parsed) * 1e-14, 1e-300);
        vxfuzz::Require(std::fabs(*back - *parsed) <= tolerance,
                        "FormatNumber does not read back: " + text + " -> " + written);
        for (int places = 0; places <= 6; ++places) {
            double r = vx::RoundHalfEven(*parsed, places);
            vxfuzz::Require(std::isfinite(r), "RoundHalfEven gave a value that is not finite");
        }
        vx::FormatFixed(*parsed, 2);
    } else {
        try {
            vx::ToDouble(text);
            vxfuzz::Fail("ToDouble accepted what ParseNumber refused");
        } catch (const vx::VxError& e) {
            vxfuzz::Require(e.number() == vx::kErrTypeMismatch, "ToDouble raised a wrong error");
        }
    }
    return 0;
}
