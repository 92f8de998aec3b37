#include "convert/PartsFileReader.h"

#include "config/NumberText.h"
#include "config/VxError.h"
#include "convert/FileReplace.h"
#include "convert/PartsCriteria.h"
#include "convert/RowValidation.h"
#include "convert/modCLTScribes.h"
#include "screens/ErrorLog.h"
#include "start/Messages.h"
#include "start/ProgramState.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <unordered_map>

namespace fs = std::filesystem;

namespace vx {

namespace {
constexpr size_t kBlockSize = size_t(4) << 20;
constexpr int kErrUserInterrupt = 18;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenFile(const std::string& path, const char* mode)
{
    FilePtr f(std::fopen(path.c_str(), mode));
    if (!f) {
        std::error_code ec;
        bool exists = fs::exists(path, ec);
        throw VxError(exists ? kErrPermissionDenied : kErrFileNotFound,
                      (exists ? "Permission denied: '" : "File not found: '") + path + "'", "PartsFileReader");
    }
    return f;
}

// A line is kept when, with every comma removed and trimmed, it has at least 2 characters.
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

// The lines of a file, read in large blocks. A line ends at a carriage return, with or
// without a line feed after it; a line feed alone stays inside the line.
class LineSource {
public:
    explicit LineSource(const std::string& path) : m_file(OpenFile(path, "rb")), m_buf(kBlockSize) {}

    bool Next(std::string_view& line)
    {
        while (true) {
            if (m_skipLineFeed && m_begin < m_end) {
                if (m_buf[m_begin] == '\n')
                    ++m_begin;
                m_skipLineFeed = false;
            }
            const char* base = m_buf.data();
            if (const void* cr = std::memchr(base + m_begin, '\r', m_end - m_begin)) {
                size_t pos = static_cast<const char*>(cr) - base;
                line = std::string_view(base + m_begin, pos - m_begin);
                m_begin = pos + 1;
                m_skipLineFeed = true;
                return true;
            }
            if (m_eof) {
                if (m_begin == m_end)
                    return false;
                line = std::string_view(base + m_begin, m_end - m_begin);
                m_begin = m_end;
                return true;
            }
            Fill();
        }
    }
    int64_t Consumed() const { return m_consumed - static_cast<int64_t>(m_end - m_begin); }

private:
    void Fill()
    {
        std::memmove(m_buf.data(), m_buf.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
        if (m_end == m_buf.size())
            m_buf.resize(m_buf.size() * 2); // a line longer than a block
        size_t got = std::fread(m_buf.data() + m_end, 1, m_buf.size() - m_end, m_file.get());
        if (got == 0) {
            if (std::ferror(m_file.get()))
                throw VxError(kErrPathNotFound, "Input past end of file or read failure", "PartsFileReader");
            m_eof = true;
        }
        m_end += got;
        m_consumed += static_cast<int64_t>(got);
    }

    FilePtr m_file;
    std::vector<char> m_buf;
    size_t m_begin = 0, m_end = 0;
    int64_t m_consumed = 0;
    bool m_eof = false, m_skipLineFeed = false;
};

// Rounds a length, half to even, as RoundHalfEven does; the common cases without the
// text round trip (they decide a million rows' reading time).
double RoundLength(std::string_view text, double value, double factor, int places)
{
    if (factor == 1.0) {
        // A plain decimal with no more places than wanted and at most 15 digits is its own
        // rounding.
        size_t digits = 0, decimals = 0;
        bool afterPoint = false, plain = true, leading = true;
        for (char c : TrimSpaces(text)) {
            if (c >= '0' && c <= '9') {
                if (c != '0' || !leading)
                    leading = false, ++digits;
                if (afterPoint)
                    ++decimals;
            } else if (c == '.')
                afterPoint = true;
            else if (c != '+' && c != '-' && c != ' ' && c != '\t')
                plain = false;
        }
        if (plain && decimals <= static_cast<size_t>(places) && digits <= 15)
            return value;
        return RoundHalfEven(value, places);
    }
    double scaled = value * factor;
    static const double kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (places >= 0 && places <= 6) {
        double s = scaled * kScale[places];
        if (std::fabs(s) < 1e8) {
            double fraction = s - std::floor(s);
            if (std::fabs(fraction - 0.5) > 1e-6) {
                double r = std::nearbyint(s) / kScale[places];
                return r == 0.0 ? 0.0 : r;
            }
        }
    }
    return RoundHalfEven(scaled, places);
}

enum class ValueKind { Dimension, Scribes, Other };

// One checked field of a line: its cleaned text and, when its rule reads one, its number.
struct FieldValue {
    std::string_view text;
    double number = 0;
    bool hasNumber = false;
};

// The prepared INSERT of the working table and how each mapped field is bound into it.
// Texts are bound without copying: they live until the row is stepped.
class RowWriter {
public:
    RowWriter(const std::shared_ptr<Connection>& conn, const std::vector<MappedField>& fields,
              const ReaderSettings& settings, const std::string& fileName, const CriteriaOptions* criteria)
        : m_conn(conn), m_settings(settings), m_fileName(fileName), m_criteria(criteria)
    {
        for (ColumnInfo& ci : conn->TableColumns("tblPartsFileProcessTemplate"))
            m_columns.emplace(UpperCase(ci.name), ci);
        m_fileNameParam = Param("FileName", true);
        for (const MappedField& f : fields) {
            Target t;
            t.param = Param(f.MainName, true);
            std::string upper = UpperCase(f.MainName);
            t.kind = (upper == "WIDTH" || upper == "LENGTH" || upper == "THICKNESS") ? ValueKind::Dimension
                     : upper == "SCRIBES"                                         ? ValueKind::Scribes
                                                                                  : ValueKind::Other;
            t.isPart = upper == "PART";
            t.isMaterial = upper == "MATERIAL";
            t.isWidth = upper == "WIDTH";
            t.isLength = upper == "LENGTH";
            m_targets.push_back(t);
        }
        if (settings.generateLineNumbers)
            m_seqParam = Param("SEQ_NUM", true);
        m_quantityParam = settings.quantityNotMapped ? Param("QUANTITY", true) : 0;
        if (m_criteria) {
            for (const char* name : {"ValidPart", "Dimensions_Switched", "PANEL", "B_GRADE", "Process", "POCKETHOLES",
                                     "SPACEBALLS", "SCRIBES", "WIDTH", "LENGTH", "Scribes_Reversed"}) {
                int p = Param(name, false);
                if (!p) {
                    m_criteria = nullptr; // a working table without them gets the criteria later
                    break;
                }
                m_criteriaParams.push_back(p);
            }
        }

        std::string sql = "INSERT INTO tblPartsFileProcessTemplate (";
        std::string values = ") VALUES (";
        for (size_t i = 0; i < m_names.size(); ++i) {
            sql += (i ? ", " : "") + SqlName(m_names[i]);
            values += (i ? ", ?" : "?") + std::to_string(i + 1);
        }
        sql += values + ")";
        if (sqlite3_prepare_v2(conn->handle(), sql.c_str(), -1, &m_insert, nullptr) != SQLITE_OK)
            conn->Fail(sqlite3_errcode(conn->handle()), sql);
    }
    ~RowWriter() { sqlite3_finalize(m_insert); }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // Writes one good line: the checked values of the mapped fields.
    void Write(const std::vector<FieldValue>& values, int32_t rowNumber, NewNameRegistry& names)
    {
        m_scratch.clear();
        m_scratch.reserve(m_targets.size() + 2); // texts made here must not move before the step
        std::string_view part;
        RowCriteriaResult row;
        for (size_t i = 0; i < m_targets.size(); ++i) {
            const Target& t = m_targets[i];
            const FieldValue& v = values[i];
            switch (t.kind) {
            case ValueKind::Dimension: {
                double number = v.number;
                if (!v.hasNumber) {
                    auto parsed = ParseNumber(v.text);
                    if (!parsed)
                        throw VxError(kErrTypeMismatch, "Type mismatch", "PartsFileReader");
                    number = *parsed;
                }
                double d = RoundLength(v.text, number, m_settings.lengthFactor,
                                       m_settings.lengthFactor == 1.0 ? 6 : m_settings.lengthDigits);
                sqlite3_bind_double(m_insert, t.param, d);
                if (t.isWidth)
                    row.width = d;
                else if (t.isLength)
                    row.length = d;
                break;
            }
            case ValueKind::Scribes:
                if (m_settings.lengthFactor == 1.0)
                    row.scribes.assign(v.text);
                else
                    row.scribes = ConvertScribeUnits(std::string(v.text), m_settings.lengthFactor,
                                                     m_settings.lengthDigits);
                BindText(t.param, Keep(row.scribes));
                break;
            case ValueKind::Other:
                BindOther(t.param, v);
                break;
            }
            if (t.isPart) {
                names.CheckForNewPart(v.text);
                part = v.text;
            } else if (t.isMaterial) {
                names.CheckForNewMaterial(v.text);
            }
        }
        if (m_criteria)
            BindCriteria(part.data() ? names.CriteriaFor(part) : nullptr, row);
        BindText(m_fileNameParam, m_fileName);
        if (m_seqParam)
            sqlite3_bind_int64(m_insert, m_seqParam, rowNumber);
        if (m_quantityParam)
            sqlite3_bind_int64(m_insert, m_quantityParam, 1);
        int rc = sqlite3_step(m_insert);
        sqlite3_reset(m_insert);
        if (rc != SQLITE_DONE)
            m_conn->Fail(rc, "INSERT INTO tblPartsFileProcessTemplate");
    }

    // True when the rows are written with the criteria already applied.
    bool AppliesCriteria() const { return m_criteria != nullptr; }

private:
    struct Target {
        int param = 0;
        ValueKind kind = ValueKind::Other;
        bool isPart = false, isMaterial = false, isWidth = false, isLength = false;
    };

    int Param(const std::string& name, bool required)
    {
        std::string upper = UpperCase(name);
        auto it = m_params.find(upper);
        if (it != m_params.end())
            return it->second;
        auto col = m_columns.find(upper);
        if (col == m_columns.end()) {
            if (!required)
                return 0;
            throw VxError(kErrItemNotFound,
                          "Item cannot be found in the collection corresponding to the requested name or ordinal. (" +
                              name + ")",
                          "PartsFileReader");
        }
        m_names.push_back(col->second.name);
        m_types.push_back(col->second.type);
        int index = static_cast<int>(m_names.size());
        m_params.emplace(upper, index);
        return index;
    }

    // A text made while writing the row, kept alive until the row is stepped.
    std::string_view Keep(const std::string& text)
    {
        m_scratch.push_back(text);
        return m_scratch.back();
    }

    void BindText(int param, std::string_view text)
    {
        sqlite3_bind_text(m_insert, param, text.data() ? text.data() : "", static_cast<int>(text.size()),
                          SQLITE_STATIC);
    }

    void BindCriteria(const PartCriteria* criteria, RowCriteriaResult& row)
    {
        ApplyCriteriaToNewRow(criteria, *m_criteria, row);
        const int* p = m_criteriaParams.data();
        sqlite3_bind_int(m_insert, p[0], row.valid);
        sqlite3_bind_int(m_insert, p[1], row.switched);
        sqlite3_bind_int(m_insert, p[2], row.panel);
        sqlite3_bind_int(m_insert, p[3], row.bGrade);
        sqlite3_bind_int(m_insert, p[4], row.process);
        sqlite3_bind_int(m_insert, p[5], row.pocketHoles);
        BindText(p[6], Keep(row.spaceBalls));
        BindText(p[7], Keep(row.scribes));
        sqlite3_bind_double(m_insert, p[8], row.width);
        sqlite3_bind_double(m_insert, p[9], row.length);
        sqlite3_bind_int(m_insert, p[10], row.reversed);
    }

    // Any other field: the text, stored as the column's kind when it reads as one.
    void BindOther(int param, const FieldValue& v)
    {
        FieldType type = m_types[static_cast<size_t>(param - 1)];
        if (type == FieldType::Long || type == FieldType::Double || type == FieldType::Boolean) {
            std::optional<double> number;
            if (v.hasNumber)
                number = v.number;
            else
                number = ParseNumber(v.text);
            if (number) {
                if (type == FieldType::Double)
                    sqlite3_bind_double(m_insert, param, *number);
                else if (type == FieldType::Long)
                    sqlite3_bind_int64(m_insert, param, RoundToLong(*number));
                else
                    sqlite3_bind_int(m_insert, param, *number != 0 ? 1 : 0);
                return;
            }
            std::string_view trimmed = TrimSpaces(v.text);
            if (type == FieldType::Boolean && (trimmed.empty() || EqualsNoCase(trimmed, "false") ||
                                               EqualsNoCase(trimmed, "true"))) {
                sqlite3_bind_int(m_insert, param, EqualsNoCase(trimmed, "true") ? 1 : 0);
                return;
            }
        }
        BindText(param, v.text);
    }

    std::shared_ptr<Connection> m_conn;
    const ReaderSettings& m_settings;
    std::string m_fileName;
    const CriteriaOptions* m_criteria;
    std::unordered_map<std::string, ColumnInfo> m_columns;
    std::unordered_map<std::string, int> m_params;
    std::vector<std::string> m_names;
    std::vector<FieldType> m_types;
    std::vector<Target> m_targets;
    std::vector<int> m_criteriaParams;
    std::vector<std::string> m_scratch;
    sqlite3_stmt* m_insert = nullptr;
    int m_seqParam = 0, m_fileNameParam = 0, m_quantityParam = 0;
};
} // namespace

std::vector<MappedField> ReadMappedFields(Connection& connection)
{
    std::vector<MappedField> fields;
    Statement st = connection.Prepare(
        "SELECT PF_Col, MainName, DataType, UserLabel FROM tblPartsFileMapping WHERE PF_Col > 0 ORDER BY IDNum ASC");
    while (st.Step()) {
        MappedField f;
        f.PF_Col = st.Column(0).toLong();
        f.MainName = st.ColumnText(1);
        f.DataType = st.ColumnText(2);
        f.UserLabel = st.ColumnText(3);
        fields.push_back(std::move(f));
    }
    return fields;
}

PartsFileReader::PartsFileReader(std::shared_ptr<Connection> connection, NewNameRegistry& names, Progress& progress)
    : m_conn(std::move(connection)), m_names(names), m_progress(progress)
{
}

std::string PartsFileReader::FileNameValue(const std::string& title)
{
    std::string name(TrimSpaces(title));
    if (name.size() > 4 && name[name.size() - 4] == '.')
        name.resize(name.size() - 4);
    return name;
}

bool PartsFileReader::RewriteBareLineFeeds(const std::string& path)
{
    bool anyByte = false;
    {
        FilePtr in = OpenFile(path, "rb");
        std::vector<char> buf(kBlockSize);
        size_t got;
        while ((got = std::fread(buf.data(), 1, buf.size(), in.get())) > 0) {
            anyByte = true;
            if (std::memchr(buf.data(), '\r', got))
                return false;
        }
    }
    if (!anyByte)
        return false;
    // Copy with CR LF line ends into a temporary file beside it, then put it in place.
    std::string tmp = TemporaryPathBeside(path);
    try {
        FilePtr in = OpenFile(path, "rb");
        FilePtr out = OpenFile(tmp, "wb");
        std::vector<char> buf(kBlockSize), converted;
        converted.reserve(kBlockSize * 2);
        size_t got;
        while ((got = std::fread(buf.data(), 1, buf.size(), in.get())) > 0) {
            converted.clear();
            for (size_t i = 0; i < got; ++i) {
                if (buf[i] == '\n')
                    converted.push_back('\r');
                converted.push_back(buf[i]);
            }
            if (std::fwrite(converted.data(), 1, converted.size(), out.get()) != converted.size())
                throw VxError(kErrDiskFull, "Could not write '" + tmp + "'.", "PartsFileReader");
        }
        if (std::fflush(out.get()) != 0)
            throw VxError(kErrDiskFull, "Could not write '" + tmp + "'.", "PartsFileReader");
        out.reset();
        std::error_code ec;
        fs::permissions(tmp, fs::status(path, ec).permissions(), ec);
        ReplaceFileWith(tmp, path);
    } catch (...) {
        RemoveQuietly(tmp);
        throw;
    }
    return true;
}

bool PartsFileReader::Read(const std::string& path, const std::string& title, const ReaderSettings& settings)
{
    RewriteBareLineFeeds(path);
    const std::string fileName = FileNameValue(title);
    const std::vector<MappedField> fields = ReadMappedFields(*m_conn);
    std::vector<bool> isMaterial;
    std::vector<ValueRule> rules;
    for (const MappedField& f : fields) {
        isMaterial.push_back(EqualsNoCase(f.MainName, "MATERIAL"));
        rules.push_back(RuleFor(f.MainName, f.DataType));
    }
    m_criteriaApplied = false;
    const CriteriaOptions* criteria =
        settings.criteria && m_names.CriteriaApplicableByRow() ? &*settings.criteria : nullptr;

    std::error_code ec;
    auto size = fs::file_size(path, ec);
    m_progress.start("Reading parts file", ec ? 0 : static_cast<int64_t>(size));

    LineSource source(path);
    std::string line, errorText;
    std::vector<std::string_view> columns;
    std::vector<FieldValue> values(fields.size());
    std::vector<std::string> unquoted;
    std::unique_ptr<RowWriter> writer;
    std::unique_ptr<Transaction> transaction;
    ErrorLog& log = TheErrorLog();
    int32_t kept = 0, written = 0;
    bool rejected = false;
    std::string_view raw;

    try {
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
            if (++kept <= settings.skipLines)
                continue;
            if (!writer) {
                if (onDataFound)
                    onDataFound();
                transaction = std::make_unique<Transaction>(*m_conn);
                writer = std::make_unique<RowWriter>(m_conn, fields, settings, fileName, criteria);
                m_criteriaApplied = writer->AppliesCriteria();
            }
            if ((kept & 0xfff) == 0 && !m_progress.update(source.Consumed()))
                throw VxError(kErrUserInterrupt, "User interrupt occurred", "PartsFileReader");

            // Cut the line at every delimiter; no quoting rules.
            columns.clear();
            std::string_view rest = line;
            if (settings.delimiter.empty()) {
                columns.push_back(rest);
            } else {
                size_t pos;
                while ((pos = rest.find(settings.delimiter)) != std::string_view::npos) {
                    columns.push_back(rest.substr(0, pos));
                    rest.remove_prefix(pos + settings.delimiter.size());
                }
                columns.push_back(rest);
            }
            const int32_t count = static_cast<int32_t>(columns.size());
            if (unquoted.size() < columns.size())
                unquoted.resize(columns.size());

            bool rowFailed = false;
            for (size_t i = 0; i < fields.size(); ++i) {
                const MappedField& f = fields[i];
                std::string_view value;
                if (f.PF_Col >= 1 && f.PF_Col <= count) {
                    size_t c = static_cast<size_t>(f.PF_Col - 1);
                    value = columns[c];
                    if (value.find('"') != std::string_view::npos) {
                        std::string& buf = unquoted[c];
                        std::string copy;
                        for (char ch : value)
                            if (ch != '"')
                                copy += ch;
                        buf = std::move(copy);
                        value = buf;
                    }
                    value = TrimSpaces(value);
                    if (isMaterial[i] && value.empty())
                        value = "NONE";
                    columns[c] = value;
                }
                FieldValue& v = values[i];
                v.text = value;
                v.hasNumber = false;
                errorText.clear();
                if (CheckValue(rules[i], f.PF_Col, count, value, f.UserLabel, errorText, &v.number)) {
                    v.hasNumber = rules[i] != ValueRule::Text && rules[i] != ValueRule::PartName;
                } else {
                    if (!rowFailed) {
                        log.AddInfo("\r\n\r\nThe following errors were found in row " + std::to_string(kept) +
                                    " of the parts file, the data in this row was ignored.\r\n\r\n");
                        log.AddInfo("The row contains: " + line + "\r\n\r\n");
                        rowFailed = true;
                    }
                    log.AddInfo(errorText);
                }
            }
            if (rowFailed) {
                rejected = true;
                continue;
            }
            writer->Write(values, ++written, m_names);
        }
        if (transaction)
            transaction->commit();
    } catch (...) {
        // What was written so far stays, as do the part names the operator answered for.
        if (transaction) {
            try {
                transaction->commit();
            } catch (...) {
            }
        }
        m_progress.end();
        throw;
    }
    m_progress.end();

    if (!writer) {
        ShowMessage("NO DATA FOUND IN THE FILE:\r\n" + path, vbOKOnly, "");
        return false;
    }
    if (!rejected)
        return true;
    log.Display();
    if (State().CommandLineMode) {
        State().BadRowsFound = true;
        return State().AllowBadRows;
    }
    return false;
}

} // namespace vx
