#pragma once
// Cutting one line of a cut list into its fields, the same way for the conversion and for
// the mapping screen's example.
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Splits line at every occurrence of delimiter (an empty delimiter leaves it whole).
//
// With quoted set, fields follow RFC 4180 within the line: a field whose first non-blank
// character is a double quote runs to its closing quote, a delimiter inside it does not
// split, "" inside it stands for one ", and the quotes are removed (text after the closing
// quote is kept). Such fields are written into storage, which must not be changed while
// the views are used. Returns false, with fields incomplete, when a quote does not close:
// a field never runs on into the next line.
bool SplitFields(std::string_view line, std::string_view delimiter, bool quoted, std::vector<std::string_view>& fields,
                 std::string& storage);

} // namespace vx
