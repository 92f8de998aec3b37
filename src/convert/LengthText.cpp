#include "convert/LengthText.h"

#include "base/NumberText.h"
#include "convert/PositionLists.h"


namespace vx {

namespace {

constexpr double kMillimetresPerInch = 25.4;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && EqualsNoCase(text.substr(text.size() - end.size()), end);
}

// Cuts a unit from the end of the text: an inch mark, in/inch/inches, mm or cm.
LengthUnit CutUnit(std::string_view& text)
{
    if (!text.empty() && text.back() == '"') {
        text.remove_suffix(1);
        return LengthUnit::Inch;
    }
    struct Suffix {
        const char* text;
        LengthUnit unit;
    };
    for (Suffix s :
         {Suffix{"inches", LengthUnit::Inch}, Suffix{"inch", LengthUnit::Inch}, Suffix{"in", LengthUnit::Inch},
          Suffix{"mm", LengthUnit::Millimetre}, Suffix{"cm", LengthUnit::Centimetre}}) {
        std::string_view suffix(s.text);
        // The unit follows a digit or a blank: "72in", "72 in"; never a word that ends so.
        if (EndsWithNoCase(text, suffix) && text.size() > suffix.size()) {
            char before = text[text.size() - suffix.size() - 1];
            if ((before >= '0' && before <= '9') || before == ' ') {
                text.remove_suffix(suffix.size());
                return s.unit;
            }
        }
    }
    return LengthUnit::None;
}

std::optional<long long> Digits(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// "N/D", "W N/D" or "W-N/D".
std::optional<double> Fraction(std::string_view text)
{
    size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    std::string_view left = text.substr(0, slash);
    auto denominator = Digits(text.substr(slash + 1));
    if (!denominator || *denominator == 0)
        return std::nullopt;
    double whole = 0;
    size_t split = left.find_last_of(" -");
    if (split != std::string_view::npos) {
        auto w = Digits(TrimSpaces(left.substr(0, split)));
        if (!w)
            return std::nullopt;
        whole = static_cast<double>(*w);
        left = left.substr(split + 1);
    }
    auto numerator = Digits(left);
    if (!numerator)
        return std::nullopt;
    return whole + static_cast<double>(*numerator) / static_cast<double>(*denominator);
}

double Millimetres(double value, LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Inch: return value * kMillimetresPerInch;
    case LengthUnit::Centimetre: return value * 10;
    default: return value;
    }
}

// Cuts the feet from the front of the text: a whole or decimal number followed by an
// apostrophe, ft, foot or feet. Nothing when the text does not start so.
std::optional<double> CutFeet(std::string_view& text)
{
    size_t end = 0;
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.'))
        ++end;
    std::optional<double> feet = end ? ParseNumber(text.substr(0, end)) : std::nullopt;
    if (!feet)
        return std::nullopt;
    std::string_view rest = TrimSpaces(text.substr(end));
    size_t mark = 0;
    if (!rest.empty() && rest.front() == '\'')
        mark = 1;
    for (std::string_view word : {"feet", "foot", "ft"})
        if (!mark && rest.size() >= word.size() && EqualsNoCase(rest.substr(0, word.size()), word) &&
            (rest.size() == word.size() || !IsAsciiLetter(rest[word.size()])))
            mark = word.size();
    if (!mark)
        return std::nullopt;
    text = TrimSpaces(rest.substr(mark));
    return feet;
}

// Feet with the inches after them ("5' 6\"", "5'-8 1/2\"", "2 ft 3 in"), in inches. The inches
// may be whole, decimal or a fraction and carry an inch mark or word; any other unit fails.
std::optional<double> FeetAndInches(std::string_view text)
{
    std::string_view rest = TrimSpaces(text);
    std::optional<double> feet = CutFeet(rest);
    if (!feet)
        return std::nullopt;
    if (!rest.empty() && rest.front() == '-')
        rest = TrimSpaces(rest.substr(1));
    if (rest.empty())
        return *feet * 12;
    const LengthUnit unit = CutUnit(rest);
    if (unit != LengthUnit::None && unit != LengthUnit::Inch)
        return std::nullopt;
    rest = TrimSpaces(rest);
    std::optional<double> inches = ParseNumber(rest);
    if (!inches)
        inches = Fraction(rest);
    if (!inches || *inches < 0)
        return std::nullopt;
    return *feet * 12 + *inches;
}

} // namespace

LengthUnit FileUnitOf(int convertLengthType)
{
    return convertLengthType == 1   ? LengthUnit::Inch
           : convertLengthType == 2 ? LengthUnit::Millimetre
                                    : LengthUnit::None;
}

std::optional<LengthReading> ReadLength(std::string_view text, LengthUnit fileUnit, bool decimalComma,
                                        bool feetAndInches)
{
    std::string_view rest = TrimSpaces(text);
    LengthReading reading;
    if (feetAndInches) {
        if (std::optional<double> inches = FeetAndInches(rest)) {
            reading.unit = LengthUnit::Inch;
            reading.value = fileUnit == LengthUnit::Millimetre ? *inches * kMillimetresPerInch : *inches;
            return reading;
        }
    }
    reading.unit = CutUnit(rest);
    rest = TrimSpaces(rest);
    std::optional<double> value = ParseNumber(rest);
    if (!value && decimalComma && rest.find(',') == rest.rfind(',') && rest.find('.') == std::string_view::npos) {
        std::string dotted(rest);
        if (size_t comma = dotted.find(','); comma != std::string::npos) {
            dotted[comma] = '.';
            value = ParseNumber(dotted);
        }
    }
    if (!value)
        value = Fraction(rest);
    if (!value)
        return std::nullopt;
    reading.value = *value;
    if (reading.unit != LengthUnit::None && fileUnit != LengthUnit::None && reading.unit != fileUnit) {
        double mm = Millimetres(*value, reading.unit);
        reading.value = fileUnit == LengthUnit::Inch ? mm / kMillimetresPerInch : mm;
    }
    return reading;
}

std::string ReadPositionList(std::string_view list, LengthUnit fileUnit, bool decimalComma,
                             std::vector<LengthUnit>* units)
{
    std::string out;
    bool first = true;
    for (const std::string& entry : SplitPositionList(list)) {
        if (!first)
            out += '|';
        first = false;
        std::optional<LengthReading> reading;
        if (!IsNumeric(entry))
            reading = ReadLength(entry, fileUnit, decimalComma);
        if (!reading) {
            out += entry;
            continue;
        }
        out += FormatNumber(reading->value);
        if (units)
            units->push_back(reading->unit);
    }
    return out;
}

} // namespace vx
