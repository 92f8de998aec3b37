#include "base/NumberText.h"

#include "base/VxError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vx {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// Room for any double printed in plain notation (309 digits) with its decimals.
constexpr size_t kPrintedSize = 400;
} // namespace

std::string TrimBlanks(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

std::string_view TrimSpaces(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return text.substr(b, e - b);
}

std::string EscapeControlCharacters(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// Letter case of the ASCII letters only, whatever the process's locale: the windowed program
// runs in the user's, and in a Turkish one toupper('i') stays 'i' ("Width" would not match
// "WIDTH"). Other bytes are parts of UTF-8 characters and stay as they are.
namespace {
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter)
{
    std::vector<std::string> parts;
    if (delimiter.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    size_t start = 0;
    while (true) {
        size_t pos = text.find(delimiter, start);
        if (pos == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, pos - start));
        start = pos + delimiter.size();
    }
}

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t LeadingWords(std::string_view text, std::initializer_list<std::string_view> words, bool spaceFirst)
{
    size_t i = 0;
    auto skipSpace = [&] {
        size_t start = i;
        while (i < text.size() && IsWhiteSpace(text[i]))
            ++i;
        return i > start;
    };
    if (!skipSpace() && spaceFirst)
        return std::string_view::npos;
    for (std::string_view word : words) {
        if (!EqualsNoCase(text.substr(i, word.size()), word))
            return std::string_view::npos;
        i += word.size();
        if (!skipSpace())
            return std::string_view::npos;
    }
    return i;
}

namespace {
// The power of ten of a number text's first significant digit (1.5 gives 0, 0.02 gives -2,
// 3e7 gives 7); the text is a well-formed number that is not zero.
long long DecimalExponent(std::string_view t)
{
    size_t e = t.find_first_of("eE");
    std::string_view mantissa = t.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = t.substr(e + 1);
        bool negative = !digits.empty() && digits[0] == '-';
        if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min<long long>(exponent * 10 + (c - '0'), 1LL << 40); // far past any double
        if (negative)
            exponent = -exponent;
    }
    size_t point = mantissa.find('.');
    if (point == std::string_view::npos)
        point = mantissa.size();
    size_t first = mantissa.find_first_of("123456789");
    long long place = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    return place + exponent;
}
} // namespace

std::optional<double> ParseNumber(std::string_view raw)
{
    size_t b = 0, e = raw.size();
    while (b < e && IsBlank(raw[b]))
        ++b;
    while (e > b && IsBlank(raw[e - 1]))
        --e;
    std::string_view t = raw.substr(b, e - b);
    if (t.empty())
        return std::nullopt;
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-')
        ++i;
    size_t digits = 0, dots = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' && dots == 0)
            ++dots;
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < t.size()) {
        if (t[i] != 'e' && t[i] != 'E')
            return std::nullopt;
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        size_t expDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            ++expDigits;
        if (expDigits == 0 || i != t.size())
            return std::nullopt;
    }
    // from_chars reads "." as the point whatever the process's locale (the windowed program
    // runs in the user's). A value beyond the range of a double is too small (it reads as 0)
    // or too large (no number).
    std::string_view digitsText = t[0] == '+' ? t.substr(1) : t;
    double value = 0;
    auto [end, ec] = std::from_chars(digitsText.data(), digitsText.data() + digitsText.size(), value);
    if (ec == std::errc::result_out_of_range)
        return DecimalExponent(digitsText) < 0 ? std::optional<double>(0.0) : std::nullopt;
    if (ec != std::errc() || end != digitsText.data() + digitsText.size() || !std::isfinite(value))
        return std::nullopt;
    return value == 0.0 ? 0.0 : value; // -0 reads as 0
}

double ToDouble(std::string_view text)
{
    auto v = ParseNumber(text);
    if (!v)
        throw VxError(kErrTypeMismatch, "Type mismatch");
    return *v;
}

int32_t RoundToLong(double value)
{
    double r = std::nearbyint(value); // default rounding mode: half to even
    if (!(r >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
          r <= static_cast<double>(std::numeric_limits<int32_t>::max())))
        throw VxError(kErrOverflow, "Overflow");
    return static_cast<int32_t>(r);
}

int32_t ToLong(std::string_view text) { return RoundToLong(ToDouble(text)); }

namespace {
// The text printf's "%.15g", "%.*f" or "%.*e" gives in the "C" locale, whatever locale the
// process runs in (the windowed program runs in the user's), and at a fraction of the cost.
std::string_view Printed(char (&buf)[kPrintedSize], double value, std::chars_format format, int precision)
{
    auto printed = std::to_chars(buf, buf + kPrintedSize, value, format, precision);
    return {buf, static_cast<size_t>(printed.ptr - buf)};
}

// The double a printed text stands for (the text is one Printed made), as strtod reads it:
// beyond the range (15 digits of the largest doubles round up) it is infinite.
double ReadBack(std::string_view text)
{
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc::result_out_of_range) {
        size_t e = text.find('e');
        bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        if (text.front() == '-')
            value = -value;
    }
    return value;
}
} // namespace

double RoundHalfEven(double value, int places)
{
    if (!std::isfinite(value))
        return value;
    // Round through the shortest decimal text so 2.675 (stored as 2.67499..) is treated
    // as the decimal the user wrote.
    char buf[kPrintedSize];
    double v = ReadBack(Printed(buf, value, std::chars_format::general, 15));
    double scale = std::pow(10.0, places);
    double scaled = v * scale;
    if (std::fabs(scaled) >= 9e15)
        return v;
    double s = ReadBack(Printed(buf, scaled, std::chars_format::general, 15));
    double r = std::nearbyint(s);
    double result = r / scale;
    if (result == 0.0)
        result = 0.0;
    return result;
}

std::string FormatNumber(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? "0" : (std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity"));
    double a = std::fabs(value);
    char buf[kPrintedSize];
    if (a >= 1e-4 && a < 1e15) {
        std::string s(Printed(buf, value, std::chars_format::general, 15));
        if (s.find('e') != std::string::npos) {
            // %.15g may choose exponent form for very small values; force plain notation.
            s = Printed(buf, value, std::chars_format::fixed, 19);
        }
        if (s.find('.') != std::string::npos) {
            while (!s.empty() && s.back() == '0')
                s.pop_back();
            if (!s.empty() && s.back() == '.')
                s.pop_back();
        }
        return s;
    }
    std::string s(Printed(buf, value, std::chars_format::scientific, 14));
    size_t ePos = s.find('e');
    std::string mant = s.substr(0, ePos), exp = s.substr(ePos + 1);
    while (!mant.empty() && mant.back() == '0')
        mant.pop_back();
    if (!mant.empty() && mant.back() == '.')
        mant.pop_back();
    char sign = exp[0];
    std::string digits = exp.substr(1);
    while (digits.size() > 1 && digits[0] == '0')
        digits.erase(0, 1);
    return mant + "E" + sign + digits;
}

std::string FormatFixed(double value, int decimals)
{
    double scale = std::pow(10.0, decimals);
    char buf[kPrintedSize];
    double s = ReadBack(Printed(buf, value * scale, std::chars_format::general, 15));
    double r = std::round(s) / scale; // halves away from zero
    std::string out(Printed(buf, r, std::chars_format::fixed, decimals));
    if (out.rfind("-0", 0) == 0 && ReadBack(out) == 0.0)
        out.erase(0, 1);
    return out;
}

} // namespace vx
