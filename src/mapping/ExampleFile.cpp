#include "mapping/ExampleFile.h"

#include "config/VxError.h"
#include "convert/CutListParser.h"
#include "screens/ErrorLog.h"
#include "start/Messages.h"

#include <fstream>

namespace vx {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr size_t kChunkSize = 1 << 16;
constexpr int kLinesPerUpdate = 1000;

// Blanks are spaces only: a tab may be the delimiter, and trimming it would drop empty fields.
std::string TrimSpaces(const std::string& text)
{
    size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

// Keeps the lines the conversion keeps, so that both count rows alike: not blank, and
// passing the conversion's comma test once apostrophes are gone.
void KeepLine(std::string& line, std::vector<std::string>& lines)
{
    std::string trimmed = TrimSpaces(line);
    std::string withoutApostrophes;
    for (char c : trimmed)
        if (c != '\'')
            withoutApostrophes += c;
    if (PassesCommaTest(withoutApostrophes))
        lines.push_back(std::move(trimmed));
    line.clear();
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

bool ReadExampleLines(const std::string& path, std::vector<std::string>& lines, Progress& progress)
{
    lines.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw VxError(kErrFileNotFound, "File not found: " + path, "ParseTheCommaDelimitedPartsFile");
    in.seekg(0, std::ios::end);
    const int64_t size = static_cast<int64_t>(in.tellg());
    in.seekg(0, std::ios::beg);

    progress.start("Reading " + path, size);
    std::string chunk(kChunkSize, '\0');
    std::string line;
    bool afterCr = false; // a line feed right after a carriage return belongs to that line end
    int64_t done = 0;
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const size_t got = static_cast<size_t>(in.gcount());
        if (got == 0)
            break;
        for (size_t i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (c == '\r') {
                KeepLine(line, lines);
                afterCr = true;
                continue;
            }
            if (!(c == '\n' && afterCr))
                line.push_back(c);
            afterCr = false;
        }
        done += static_cast<int64_t>(got);
        if (!progress.update(done)) {
            progress.end();
            lines.clear();
            return false;
        }
    }
    if (in.bad())
        throw VxError(kErrPermissionDenied, "The file could not be read: " + path, "ParseTheCommaDelimitedPartsFile");
    KeepLine(line, lines);
    progress.end();
    return true;
}

std::vector<std::string> SplitAtDelimiter(const std::string& line, const std::string& delimiter)
{
    std::vector<std::string> fields;
    if (delimiter.empty()) {
        fields.push_back(line);
        return fields;
    }
    size_t start = 0;
    for (size_t at = line.find(delimiter); at != std::string::npos; at = line.find(delimiter, start)) {
        fields.push_back(line.substr(start, at - start));
        start = at + delimiter.size();
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string CleanExampleField(const std::string& field)
{
    std::string clean;
    clean.reserve(field.size());
    for (char c : TrimSpaces(field)) {
        if (c == '"')
            continue;
        clean.push_back(c == '\'' ? ' ' : c);
    }
    return clean;
}

void ParseTheCommaDelimitedPartsFile(const std::string& path, const std::string& delimiter, int skip,
                                     ExampleTable& table, bool& IsError, Progress& progress)
{
    IsError = true;
    const int first = (skip > 0 ? skip : 0) + 1;
    std::vector<std::string> lines;
    if (!ReadExampleLines(path, lines, progress)) {
        ShowMessage(kReadingCancelledMessage, vbOKOnly, "");
        return;
    }
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
        std::vector<std::string> fields = SplitAtDelimiter(lines[static_cast<size_t>(i - 1)], delimiter);
        counts.push_back(static_cast<int>(fields.size()));
        consistent = consistent && counts.back() == counts.front();
        if (consistent) {
            for (std::string& field : fields)
                field = CleanExampleField(field);
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
    table = std::move(read);
    IsError = false;
}

} // namespace vx
