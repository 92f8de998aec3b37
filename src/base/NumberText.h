#pragma once
// The one general number test and the number conversions every part of the program uses.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Leading/trailing blanks (spaces and tabs) removed.
std::string TrimBlanks(std::string_view text);
// Leading/trailing spaces only (a tab may be a file's delimiter); a view into text.
std::string_view TrimSpaces(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);
// True for white space as SQL and the "C" locale know it (space, tab, CR, LF, VT, FF).
bool IsWhiteSpace(char c);
// The length of the words that open a text: each word matched ignoring case, white space
// before the first (required when spaceFirst), between them and after the last (at least
// one character of it); npos when the text does not open so. "  delete *  from t" with
// {"delete", "*", "from"} gives 16.
size_t LeadingWords(std::string_view text, std::initializer_list<std::string_view> words, bool spaceFirst = false);
// Text fit to echo to a terminal or a log: every control character other than tab (a NUL
// byte included) written as \xNN, so a file's bytes cannot steer the operator's terminal.
std::string EscapeControlCharacters(std::string_view text);

// Parses text as a number: optional sign, digits with at most one ".", optional exponent,
// surrounded by blanks. No hex, inf, nan or separators; out-of-range values are refused.
std::optional<double> ParseNumber(std::string_view text);
inline bool IsNumeric(std::string_view text) { return ParseNumber(text).has_value(); }

// Converts to a number or throws the type-mismatch error.
double ToDouble(std::string_view text);

// Rounds half to even to a signed 32-bit whole number; throws the overflow error when
// the result does not fit.
int32_t RoundToLong(double value);
// Parses and rounds in one step (type mismatch or overflow errors).
int32_t ToLong(std::string_view text);

// Rounds to the given number of decimal places, halves to even.
double RoundHalfEven(double value, int places);

// A number written as a number: up to 15 significant digits, no trailing zeros,
// plain notation for 1e-4 <= |x| < 1e15, exponent form otherwise.
std::string FormatNumber(double value);
// Fixed number of decimals, halves away from zero ("0.50", "466.67").
std::string FormatFixed(double value, int decimals); // decimals from 0 to 60

} // namespace vx
