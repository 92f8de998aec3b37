#include "convert/CutListParser.h"

#include "config/NumberText.h"
#include "config/VxError.h"
#include "convert/TextFiles.h"

namespace vx {

namespace {
constexpr size_t kRowsPerBatch = 4096;
// A batch is also handed on once its text passes this size, so very long lines never pile
// up gigabytes in one batch.
constexpr size_t kBatchTextBytes = size_t(64) << 20;

// A line is kept when, with every comma removed and trimmed, it has at least 2 characters
// (commas whatever the delimiter is).
bool PassesCommaTest(std::string_view line)
{
    size_t count = 0, trailingSpaces = 0;
    bool started = false;
    for (char c : line) {
        if (c == ',')
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
} // namespace

// ---------------------------------------------------------------- parser

CutListParser::CutListParser(std::string path, std::vector<MappedField> fields, const ReaderSettings& settings,
                             bool lineFeedEnds)
    : m_path(std::move(path)), m_fields(std::move(fields)), m_delimiter(settings.delimiter), m_skip(settings.skipLines),
      m_lengthFactor(settings.lengthFactor), m_lengthPlaces(settings.lengthFactor == 1.0 ? 6 : settings.lengthDigits),
      m_lineFeedEnds(lineFeedEnds)
{
    for (const MappedField& f : m_fields) {
        m_rules.push_back(RuleFor(f.MainName, f.DataType));
        m_isMaterial.push_back(EqualsNoCase(f.MainName, "MATERIAL"));
        m_isLength.push_back(EqualsNoCase(f.MainName, "WIDTH") || EqualsNoCase(f.MainName, "LENGTH") ||
                             EqualsNoCase(f.MainName, "THICKNESS"));
    }
}

void CutListParser::Run(BatchQueue<ParsedBatch>& queue)
{
    auto batch = std::make_unique<ParsedBatch>();
    try {
        LineSource source(m_path, m_lineFeedEnds);
        std::string line, errorText, unquotedValue;
        std::vector<std::string_view> columns;
        std::vector<std::string> unquoted;
        std::vector<std::string_view> values(m_fields.size());
        std::vector<ParsedField> checked(m_fields.size());
        std::string_view raw;
        int32_t kept = 0;
        while (source.Next(raw)) {
            std::string_view trimmed = TrimSpaces(raw);
            if (trimmed.empty())
                continue;
            line.clear();
            for (char c : trimmed)
                if (c != '\'')
                    line += c;
            if (!PassesCommaTest(line) || ++kept <= m_skip)
                continue;

            // Cut the line at every delimiter; no quoting rules.
            columns.clear();
            std::string_view rest = line;
            if (!m_delimiter.empty()) {
                size_t pos;
                while ((pos = rest.find(m_delimiter)) != std::string_view::npos) {
                    columns.push_back(rest.substr(0, pos));
                    rest.remove_prefix(pos + m_delimiter.size());
                }
            }
            columns.push_back(rest);
            const int32_t count = static_cast<int32_t>(columns.size());
            if (unquoted.size() < columns.size())
                unquoted.resize(columns.size());

            ParsedRow row;
            row.keptLine = kept;
            std::string report;
            std::vector<std::string> failures;
            for (size_t i = 0; i < m_fields.size(); ++i) {
                const MappedField& f = m_fields[i];
                std::string_view value;
                if (f.PF_Col >= 1 && f.PF_Col <= count) {
                    size_t c = static_cast<size_t>(f.PF_Col - 1);
                    value = columns[c];
                    if (value.find('"') != std::string_view::npos) {
                        unquotedValue.clear();
                        for (char ch : value)
                            if (ch != '"')
                                unquotedValue += ch;
                        unquoted[c] = unquotedValue;
                        value = unquoted[c];
                    }
                    value = TrimSpaces(value);
                    if (m_isMaterial[i] && value.empty())
                        value = "NONE";
                    // The cleaned value stands for the column from now on.
                    columns[c] = value;
                }
                values[i] = value;
                ParsedField& p = checked[i];
                p.hasNumber = false;
                errorText.clear();
                bool ok = false;
                try {
                    ok = CheckValue(m_rules[i], f.PF_Col, count, value, f.UserLabel, errorText, &p.number);
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
                    report = "\r\n\r\nThe following errors were found in row " + std::to_string(kept) +
                             " of the parts file, the data in this row was ignored.\r\n\r\n";
                    report += "The row contains: " + EscapeControlCharacters(line) + "\r\n\r\n";
                    row.rejected = true;
                }
                report += errorText;
            }
            if (row.rejected) {
                row.report = batch->reports.size();
                batch->reports.push_back(std::move(report));
                batch->failures.push_back(std::move(failures));
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
        batch->last = true;
    } catch (...) {
        batch->error = std::current_exception();
        batch->last = true;
    }
    queue.Push(std::move(batch));
}

} // namespace vx
