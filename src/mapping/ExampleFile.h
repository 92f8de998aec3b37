#pragma once
// Reading the example parts file of the mapping screen: its non-blank lines, split at the
// delimiter with no quoting rules, checked for a common field count, and cleaned for display.
//
// Lines end at CR LF, LF or CR alike; the example file is only read, never rewritten.
#include "config/Progress.h"

#include <string>
#include <vector>

namespace vx {

// The example as the mapping screen shows it: lines FirstLine..LastLine of the file's
// kept lines (numbered from 1), each split into ColumnCount cleaned fields.
struct ExampleTable {
    int FirstLine = 0;
    int ColumnCount = 0;
    std::vector<int> LineNumbers;                 // one per shown row
    std::vector<std::vector<std::string>> Fields; // one per shown row, ColumnCount each
    std::vector<std::string> HeaderFields;        // the last skipped line, split and cleaned alike

    int RowCount() const { return static_cast<int>(Fields.size()); }
    void Clear() { *this = ExampleTable(); }
};

// The file's lines, each trimmed of spaces, without the ones the conversion drops (blank,
// or less than 2 characters besides commas), so rows are numbered as the conversion does.
// Returns false when the operator stopped the reading; a file that cannot be read raises a
// VxError. droppedFragment, when given, tells whether UTF-16 text ended in no whole character.
bool ReadExampleLines(const std::string& path, std::vector<std::string>& lines, Progress& progress,
                      bool* droppedFragment = nullptr);

// Splits at every occurrence of the delimiter; an empty delimiter leaves the line whole.
// With quoted, as the conversion splits with QuotedFields (SplitFields); closed is then
// false when a quote does not close.
std::vector<std::string> SplitAtDelimiter(const std::string& line, const std::string& delimiter, bool quoted = false,
                                          bool* closed = nullptr);

// A field as the example grid shows it: trimmed, apostrophes blanked, double quotes removed
// unless kept (with quoting rules the quotes they leave are text).
std::string CleanExampleField(const std::string& field, bool keepQuotes = false);

// Reads the example file with the delimiter, skipping `skip` lines. On success fills the
// table and sets IsError false. Otherwise leaves the table as it was and tells the operator
// why: no data (a message), no line left after the skipped ones (a message), or differing
// field counts (the report in the error log window), a NUL character or, with quotedFields,
// a quote that does not close (a message naming the row). File failures raise a VxError.
void ParseTheCommaDelimitedPartsFile(const std::string& path, const std::string& delimiter, int skip,
                                     ExampleTable& table, bool& IsError, Progress& progress = NoProgress(),
                                     bool quotedFields = false);

} // namespace vx
