#include "convert/CutListParser.h"

#include "base/NumberText.h"
#include "base/VxError.h"
#include "convert/DelimitedFields.h"
#include "convert/DimensionsCell.h"
#include "convert/TextFiles.h"

#include <algorithm>
#include <optional>

namespace vx {

namespace {
constexpr size_t kRowsPerBatch = 4096;
constexpr int kLength = 1, kPositionList = 2;
// A batch is also handed on once its text passes this size, so very long lines never pile
// up gigabytes in one batch.
constexpr size_t kBatchTextBytes = size_t(64) << 20;

// The start of a rejected row's report in the error log, with the line as the file has it
// (its apostrophes too: the value they would join is shown as written).
std::string RowReportHead(int32_t rowNumber, std::string_view line)
{
    return "\r\n\r\nThe following errors were found in row " + std::to_string(rowNumber) +
           " of the parts file, the data in this row was ignored.\r\n\r\nThe row contains: " +
           EscapeControlCharacters(line) + "\r\n\r\n";
}

// A value as the reader cleans it: apostrophes always go, double quotes unless they are
// kept, then blanks around it.
std::string_view CleanValue(std::string_view value, bool keepQuotes, std::string& storage)
{
    if (value.find('\'') == std::string_view::npos && (keepQuotes || value.find('"') == std::string_view::npos))
        return TrimSpaces(value);
    storage.clear();
    for (char ch : value)
        if (ch != '\'' && (keepQuotes || ch != '"'))
            storage += ch;
    return TrimSpaces(storage);
}

// True when the cleaning would make a number of text that says something else: a quote or
// apostrophe between its characters, whose removal joins them (5'6", "10"5, "1""5"), or an
// apostrophe after it without one before it, a feet mark (6'). Quotes around it are fine.
bool CleaningJoinsDigits(std::string_view text)
{
    auto removed = [](char c) { return c == '"' || c == '\'' || c == ' '; };
    size_t begin = 0, end = text.size();
    bool leadingApostrophe = false, trailingApostrophe = false;
    while (begin < end && removed(text[begin]))
        leadingApostrophe |= text[begin++] == '\'';
    while (end > begin && removed(text[end - 1]))
        trailingApostrophe |= text[--end] == '\'';
    for (size_t i = begin; i < end; ++i)
        if (text[i] == '"' || text[i] == '\'')
            return true;
    return trailingApostrophe && !leadingApostrophe;
}

bool HasQuoteOrApostrophe(std::string_view text) { return text.find_first_of("\"'") != std::string_view::npos; }

// The same for every entry of a scribe or space-ball list.
bool CleaningJoinsDigitsInList(std::string_view list)
{
    if (!HasQuoteOrApostrophe(list))
        return false;
    for (size_t bar; (bar = list.find('|')) != std::string_view::npos; list.remove_prefix(bar + 1))
        if (CleaningJoinsDigits(list.substr(0, bar)))
            return true;
    return CleaningJoinsDigits(list);
}

// The fields up to the last one that is not blank (trailing empty fields are left out by
// some exporters and added by others).
size_t FilledFieldCount(const std::vector<std::string_view>& fields)
{
    size_t count = fields.size();
    while (count > 0 && TrimSpaces(fields[count - 1]).empty())
        --count;
    return count;
}

// How many fields end in a digit where the next starts with one: the places a comma
// delimiter may have split a decimal comma (12,5).
size_t PossibleDecimalCommaSplits(const std::vector<std::string_view>& fields)
{
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    size_t splits = 0;
    for (size_t i = 0; i + 1 < fields.size(); ++i)
        splits +=
            !fields[i].empty() && !fields[i + 1].empty() && digit(fields[i].back()) && digit(fields[i + 1].front());
    return splits;
}

std::string NotANumberMessage(int32_t column, const std::string& label)
{
    return "The data in column " + std::to_string(column) + " for " + label + " can not be evaluated as a number. ";
}
} // namespace

bool PassesCommaTest(std::string_view line)
{
    size_t count = 0, trailingSpaces = 0;
    bool started = false;
    for (char c : line) {
        // Characters are counted, not bytes: a UTF-8 continuation byte adds none.
        if (c == ',' || (static_cast<unsigned char>(c) & 0xC0) == 0x80)
            continue;
        if (!started) {
            if (c == ' ')
                continue;
            started = true;
        }
        ++count;
        trailingSpaces = c == ' ' ? trailingSpaces + 1 : 0;
        if (count - trailingSpaces >= 2)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- parser

void CutListParser::SortBySize(std::vector<ParsedField>& checked, std::vector<std::string_view>& values) const
{
    std::vector<int> fields; // in the order the sizes are handed out: length, width, thickness
    for (int i : {m_lengthField, m_widthField, m_thicknessField})
        if (i >= 0 && checked[static_cast<size_t>(i)].hasNumber)
            fields.push_back(i);
    std::vector<std::pair<ParsedField, std::string_view>> sizes;
    for (int i : fields)
        sizes.emplace_back(checked[static_cast<size_t>(i)], values[static_cast<size_t>(i)]);
    std::stable_sort(sizes.begin(), sizes.end(),
                     [](const auto& a, const auto& b) { return a.first.number > b.first.number; });
    for (size_t k = 0; k < fields.size(); ++k) {
        checked[static_cast<size_t>(fields[k])] = sizes[k].first;
        values[static_cast<size_t>(fields[k])] = sizes[k].second;
    }
}

CutListParser::CutListParser(std::string path, std::vector<MappedField> fields, const ReaderSettings& settings)
    : m_path(std::move(path)), m_fields(std::move(fields)), m_delimiter(settings.delimiter), m_skip(settings.skipLines),
      m_lengthFactor(settings.lengthFactor), m_lengthPlaces(settings.lengthFactor == 1.0 ? 6 : settings.lengthDigits),
      m_quoted(settings.quotedFields), m_lengths(settings.lengthsWithUnits),
      m_fileUnit(FileUnitOf(settings.convertLengthType)), m_decimalComma(settings.delimiter != ","),
      m_decimalCommaSplits(settings.lengthsWithUnits && settings.delimiter == ","),
      m_splitCleanLine(settings.delimiter.find('\'') != std::string::npos),
      m_feetAndInches(settings.lengthsWithUnits && settings.feetAndInches), m_sortDimensions(settings.sortDimensions)
{
    for (const MappedField& f : m_fields) {
        const int index = static_cast<int>(m_cellPart.size());
        m_cellPart.push_back(f.cellPart);
        if (f.cellPart >= 0) {
            m_cellColumn = f.PF_Col;
            m_cellParts = static_cast<size_t>(f.cellParts);
            m_cellLabel = f.UserLabel;
        }
        // The field of each dimension that is sorted: a cell's wins over a column of its own.
        int* sorted = EqualsNoCase(f.MainName, "LENGTH")      ? &m_lengthField
                      : EqualsNoCase(f.MainName, "WIDTH")     ? &m_widthField
                      : EqualsNoCase(f.MainName, "THICKNESS") ? &m_thicknessField
                                                              : nullptr;
        if (sorted && (*sorted < 0 || f.cellPart >= 0))
            *sorted = index;
        const ValueRule rule = RuleFor(f.MainName, f.DataType);
        m_rules.push_back(rule);
        m_isMaterial.push_back(EqualsNoCase(f.MainName, "MATERIAL"));
        const bool length = EqualsNoCase(f.MainName, "WIDTH") || EqualsNoCase(f.MainName, "LENGTH") ||
                            EqualsNoCase(f.MainName, "THICKNESS");
        const bool list = EqualsNoCase(f.MainName, "SCRIBES") || EqualsNoCase(f.MainName, "SPACEBALLS");
        m_isLength.push_back(length);
        m_lengthKind.push_back(length ? kLength : list ? kPositionList : 0);
        const bool text = rule == ValueRule::Text || rule == ValueRule::PartName;
        m_keepQuotes.push_back(m_quoted && text && !list);
        m_numeric.push_back(!text);
    }
    if (m_cellColumn > 0)
        m_cellOrderText = DimensionOrderText(DimensionOrderOf(settings.dimensionsOrder));
}

void CutListParser::Run(BatchQueue<ParsedBatch>& queue)
{
    auto batch = std::make_unique<ParsedBatch>();
    try {
        LineSource source(m_path);
        std::string line, errorText, quotedText;
        std::vector<std::string_view> columns;
        std::vector<std::string> cleaned(m_fields.size()), readLengths(m_fields.size());
        std::vector<std::string_view> values(m_fields.size());
        std::vector<ParsedField> checked(m_fields.size());
        std::vector<LengthUnit> listUnits;
        std::vector<std::string_view> cellParts;
        std::string_view raw;
        int32_t kept = 0;
        // Without a conversion the file's lengths share one unit: the first one met.
        LengthUnit fileUnitSeen = LengthUnit::None;
        int32_t fileUnitRow = 0;
        // The field count a row split at a decimal comma would exceed: that of the header
        // line (the last skipped one), else of the first data row.
        size_t referenceCount = 0;
        while (source.Next(raw)) {
            std::string_view trimmed = TrimSpaces(raw);
            if (trimmed.empty())
                continue;
            line.clear();
            for (char c : trimmed)
                if (c != '\'')
                    line += c;
            if (!PassesCommaTest(line))
                continue;
            // Apostrophes stay in the text split until each value is cleaned, so that values
            // they would join are seen (unless the delimiter holds one).
            const std::string_view text = m_splitCleanLine ? std::string_view(line) : trimmed;
            if (++kept <= m_skip) {
                if (m_decimalCommaSplits && kept == m_skip &&
                    SplitFields(text, m_delimiter, m_quoted, columns, quotedText))
                    referenceCount = FilledFieldCount(columns);
                continue;
            }

            ParsedRow row;
            row.keptLine = kept;
            std::string report;
            std::vector<std::string> failures, reasons;
            auto rejectRow = [&](std::string reason) {
                reasons.push_back(std::move(reason));
                report = RowReportHead(kept, trimmed) + reasons.back();
                row.rejected = true;
            };
            if (line.find('\0') != std::string::npos)
                rejectRow("The row holds a NUL character (\\x00), which is not text. ");
            else if (!SplitFields(text, m_delimiter, m_quoted, columns, quotedText))
                rejectRow("A quoted field (\") in this row does not close. ");
            else if (m_decimalCommaSplits) {
                const size_t filled = FilledFieldCount(columns);
                if (referenceCount == 0)
                    referenceCount = filled;
                else if (filled > referenceCount && PossibleDecimalCommaSplits(columns) >= filled - referenceCount)
                    rejectRow("The row has " + std::to_string(filled) + " columns where the file's first row has " +
                              std::to_string(referenceCount) +
                              ": a decimal comma (as in 12,5) splits a value when the delimiter is a comma. ");
            }
            const int32_t count = static_cast<int32_t>(columns.size());
            if (!row.rejected && m_cellColumn > 0) {
                const std::string_view cell =
                    m_cellColumn <= count ? columns[static_cast<size_t>(m_cellColumn - 1)] : std::string_view();
                cellParts = SplitDimensions(cell);
                if (cellParts.size() != m_cellParts)
                    rejectRow("The data in column " + std::to_string(m_cellColumn) + " for " + m_cellLabel +
                              " must hold " + m_cellOrderText + ", got '" + EscapeControlCharacters(TrimSpaces(cell)) +
                              "'. ");
            }
            LengthUnit rowUnit = LengthUnit::None; // without a conversion the row's lengths share one unit
            // The message tail when a length's unit needs a conversion this run does not make.
            auto unitConflict = [&](LengthUnit unit) -> std::string {
                if (m_fileUnit != LengthUnit::None || unit == LengthUnit::None)
                    return {};
                if (rowUnit == LengthUnit::None)
                    rowUnit = unit;
                if (fileUnitSeen == LengthUnit::None)
                    fileUnitSeen = unit, fileUnitRow = kept;
                if (unit != rowUnit)
                    return " has another unit than the other lengths of this row. ";
                if (unit != fileUnitSeen)
                    return " has another unit than the other lengths of this file (the first with a unit is in row " +
                           std::to_string(fileUnitRow) + "). ";
                return {};
            };
            const bool checkFields = !row.rejected;
            for (size_t i = 0; checkFields && i < m_fields.size(); ++i) {
                const MappedField& f = m_fields[i];
                std::string_view value;
                std::string conflict;
                bool joined = false;
                if (f.PF_Col >= 1 && f.PF_Col <= count) {
                    const std::string_view written = m_cellPart[i] >= 0 ? cellParts[static_cast<size_t>(m_cellPart[i])]
                                                                        : columns[static_cast<size_t>(f.PF_Col - 1)];
                    value = CleanValue(written, m_keepQuotes[i], cleaned[i]);
                    if (m_numeric[i])
                        joined = HasQuoteOrApostrophe(written) && CleaningJoinsDigits(written);
                    else if (m_lengthKind[i] == kPositionList)
                        joined = CleaningJoinsDigitsInList(written);
                    if (m_isMaterial[i] && value.empty())
                        value = "NONE";
                    if (m_lengths && m_lengthKind[i] == kPositionList && !IsNumeric(value)) {
                        listUnits.clear();
                        readLengths[i] = ReadPositionList(value, m_fileUnit, m_decimalComma, &listUnits);
                        value = readLengths[i];
                        for (LengthUnit unit : listUnits)
                            if (conflict.empty())
                                conflict = unitConflict(unit);
                    } else if (m_lengths && m_lengthKind[i] == kLength) {
                        // An inch mark is read before the cleaning drops it; a value the cleaning
                        // would join is read only as written.
                        std::optional<LengthReading> reading;
                        if (HasQuoteOrApostrophe(written))
                            reading = ReadLength(written, m_fileUnit, m_decimalComma, m_feetAndInches);
                        if (!reading && !joined && !IsNumeric(value))
                            reading = ReadLength(value, m_fileUnit, m_decimalComma, m_feetAndInches);
                        if (reading) {
                            readLengths[i] = FormatNumber(reading->value);
                            value = readLengths[i];
                            joined = false;
                            conflict = unitConflict(reading->unit);
                        }
                    }
                }
                values[i] = value;
                ParsedField& p = checked[i];
                p.hasNumber = false;
                errorText.clear();
                bool ok = false;
                try {
                    ok = CheckValue(m_rules[i], f.PF_Col, count, value, f.UserLabel, errorText, &p.number);
                    if (ok && joined) {
                        ok = false;
                        errorText = NotANumberMessage(f.PF_Col, f.UserLabel);
                    } else if (ok && !conflict.empty()) {
                        ok = false;
                        errorText = "The data in column " + std::to_string(f.PF_Col) + " for " + f.UserLabel + conflict;
                    }
                } catch (const std::exception& e) {
                    failures.push_back(StandardErrorText(e));
                }
                if (ok) {
                    p.hasNumber = m_rules[i] != ValueRule::Text && m_rules[i] != ValueRule::PartName;
                    if (!m_isLength[i])
                        continue;
                    // A length is checked once more as it would be stored: converted and rounded.
                    if (!p.hasNumber) {
                        auto parsed = ParseNumber(value);
                        if (!parsed)
                            continue; // written as text; the writer refuses it
                        p.number = *parsed;
                        p.hasNumber = true;
                    }
                    p.number = StoredLength(value, p.number, m_lengthFactor, m_lengthPlaces);
                    if (CheckStoredLength(m_rules[i], f.PF_Col, p.number, f.UserLabel, errorText))
                        continue;
                }
                if (!row.rejected) {
                    report = RowReportHead(kept, trimmed);
                    row.rejected = true;
                }
                report += errorText;
                reasons.push_back(errorText);
            }
            if (!row.rejected && m_sortDimensions)
                SortBySize(checked, values);
            if (row.rejected) {
                row.report = batch->reports.size();
                batch->reports.push_back(std::move(report));
                batch->failures.push_back(std::move(failures));
                batch->reasons.push_back(std::move(reasons));
            } else {
                row.firstField = batch->fields.size();
                for (size_t i = 0; i < m_fields.size(); ++i) {
                    ParsedField p = checked[i];
                    p.offset = batch->arena.size();
                    p.length = values[i].size();
                    batch->arena.append(values[i]);
                    batch->fields.push_back(p);
                }
            }
            batch->rows.push_back(row);
            if (batch->rows.size() >= kRowsPerBatch || batch->arena.size() >= kBatchTextBytes) {
                batch->bytesRead = source.Consumed();
                if (!queue.Push(std::move(batch)))
                    return;
                batch = std::make_unique<ParsedBatch>();
            }
        }
        batch->bytesRead = source.Consumed();
        batch->droppedFragment = source.DroppedFragment();
        batch->last = true;
    } catch (...) {
        batch->error = std::current_exception();
        batch->last = true;
    }
    queue.Push(std::move(batch));
}

} // namespace vx
