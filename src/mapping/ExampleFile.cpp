#include "mapping/ExampleFile.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/VxError.h"
#include "convert/CutListParser.h"
#include "convert/DelimitedFields.h"
#include "convert/TextFiles.h"

#include <filesystem>

namespace vx {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr int kLinesPerUpdate = 1000;

// Keeps the lines the conversion keeps, so that both count rows alike: not blank, and
// passing the conversion's comma test once apostrophes are gone.
void KeepLine(std::string_view line, std::vector<std::string>& lines)
{
    std::string_view trimmed = TrimSpaces(line);
    std::string withoutApostrophes;
    for (char c : trimmed)
        if (c != '\'')
            withoutApostrophes += c;
    if (PassesCommaTest(withoutApostrophes))
        lines.emplace_back(trimmed);
}

void ReportInconsistentColumns(int firstLine, const std::vector<int>& counts)
{
    ErrorLog& log = TheErrorLog();
    log.ClearLog();
    log.AddInfo(std::string("The Number of Columns in each row does not match.") + kCrLf + kCrLf);
    log.AddInfo("The number of columns defined by comma separation for each row of data ");
    log.AddInfo(std::string("must be the same. ") + kCrLf + kCrLf);
    log.AddInfo(std::string("Parts Information could be placed in the wrong column.") + kCrLf + kCrLf);
    log.AddInfo(std::string("The following lists the row number, followed by the number of columns in the row. ") +
                kCrLf);
    for (size_t i = 0; i < counts.size(); ++i)
        log.AddInfo("Row " + std::to_string(firstLine + static_cast<int>(i)) +
                    ", Columns = " + std::to_string(counts[i]) + kCrLf);
    log.Display();
}

} // namespace

bool ReadExampleLines(const std::string& path, std::vector<std::string>& lines, Progress& progress,
                      bool* droppedFragment)
{
    lines.clear();
    // Lines end at CR LF, LF or CR alike, as in the conversion; the example file itself is
    // never changed.
    LineSource source(path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    progress.start("Reading " + path, ec ? 0 : static_cast<int64_t>(size));
    std::string_view line;
    for (int64_t count = 1; source.Next(line); ++count) {
        KeepLine(line, lines);
        if (count % kLinesPerUpdate == 0 && !progress.update(source.Consumed())) {
            progress.end();
            lines.clear();
            return false;
        }
    }
    progress.end();
    if (droppedFragment)
        *droppedFragment = source.DroppedFragment();
    return true;
}

std::vector<std::string> SplitAtDelimiter(const std::string& line, const std::string& delimiter, bool quoted,
                                          bool* closed)
{
    std::vector<std::string_view> views;
    std::string storage;
    const bool ok = SplitFields(line, delimiter, quoted, views, storage);
    if (closed)
        *closed = ok;
    return std::vector<std::string>(views.begin(), views.end());
}

std::string CleanExampleField(const std::string& field, bool keepQuotes)
{
    std::string clean;
    clean.reserve(field.size());
    // Blanks are spaces only: a tab may be the delimiter, and trimming it would drop empty fields.
    for (char c : TrimSpaces(field)) {
        if (c == '"' && !keepQuotes)
            continue;
        clean.push_back(c == '\'' ? ' ' : c);
    }
    return clean;
}

void ParseTheCommaDelimitedPartsFile(const std::string& path, const std::string& delimiter, int skip,
                                     ExampleTable& table, bool& IsError, Progress& progress, bool quotedFields)
{
    IsError = true;
    // What an earlier reading found goes: the window shows this reading's problems only.
    TheErrorLog().Withdraw();
    const int first = (skip > 0 ? skip : 0) + 1;
    std::vector<std::string> lines;
    bool droppedFragment = false;
    if (!ReadExampleLines(path, lines, progress, &droppedFragment)) {
        ShowMessage(kReadingCancelledMessage, vbOKOnly, "");
        return;
    }
    if (droppedFragment)
        ShowMessage(DroppedFragmentWarning(path), vbOKOnly | vbExclamation, "");
    const int last = static_cast<int>(lines.size());
    if (last == 0) {
        ShowMessage("NO DATA FOUND IN THE FILE: " + path, vbOKOnly, "");
        return;
    }
    if (first > last) {
        ShowMessage("NO DATA FOUND IN THE FILE AFTER THE FIRST " + std::to_string(first - 1) +
                        " LINES ARE SKIPPED: " + path,
                    vbOKOnly, "");
        return;
    }

    ExampleTable read;
    read.FirstLine = first;
    std::vector<int> counts;
    bool consistent = true;
    progress.start("Checking the columns of " + path, last - first + 1);
    for (int i = first; i <= last; ++i) {
        const std::string& line = lines[static_cast<size_t>(i - 1)];
        if (line.find('\0') != std::string::npos) {
            progress.end();
            ShowMessage("Row " + std::to_string(i) + " of the file holds a NUL character (\\x00), which is not text: " +
                            EscapeControlCharacters(line),
                        vbOKOnly, "");
            return;
        }
        bool closed = true;
        std::vector<std::string> fields = SplitAtDelimiter(line, delimiter, quotedFields, &closed);
        if (!closed) {
            progress.end();
            ShowMessage("Row " + std::to_string(i) +
                            " of the file has a quoted field (\") that does not close: " + line,
                        vbOKOnly, "");
            return;
        }
        counts.push_back(static_cast<int>(fields.size()));
        consistent = consistent && counts.back() == counts.front();
        if (consistent) {
            for (std::string& field : fields)
                field = CleanExampleField(field, quotedFields);
            read.LineNumbers.push_back(i);
            read.Fields.push_back(std::move(fields));
        }
        if ((i - first) % kLinesPerUpdate == 0 && !progress.update(i - first)) {
            progress.end();
            ShowMessage(kReadingCancelledMessage, vbOKOnly, "");
            return;
        }
    }
    progress.end();
    if (!consistent) {
        ReportInconsistentColumns(first, counts);
        return;
    }
    read.ColumnCount = counts.front();
    if (first > 1) {
        read.HeaderFields = SplitAtDelimiter(lines[static_cast<size_t>(first - 2)], delimiter, quotedFields);
        for (std::string& field : read.HeaderFields)
            field = CleanExampleField(field, quotedFields);
    }
    table = std::move(read);
    IsError = false;
}

} // namespace vx
