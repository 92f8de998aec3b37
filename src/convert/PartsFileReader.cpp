#include "convert/PartsFileReader.h"

#include "base/ErrorLog.h"
#include "base/Interruption.h"
#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "convert/CutListParser.h"
#include "convert/DimensionsCell.h"
#include "convert/FileReplace.h"
#include "convert/PartsCriteria.h"
#include "convert/PartsFileWriter.h"
#include "convert/RowBlockInsert.h"
#include "convert/TextFiles.h"
#include "convert/modCLTScribes.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <optional>
#include <thread>
#include <unordered_map>

namespace fs = std::filesystem;

namespace vx {

namespace {
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
                     : upper == "SCRIBES"                                            ? ValueKind::Scribes
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

        std::function<std::string(int)> valuesSql;
        if (m_criteria && settings.partsFile) {
            const int params = static_cast<int>(m_names.size());
            auto paramOf = [this](const std::string& column) {
                auto it = m_params.find(column);
                return it == m_params.end() ? 0 : it->second;
            };
            // Empty when the rows must go through the working table; else the one-row INSERT.
            std::string oneRow = settings.partsFile->RowInsertSql(paramOf);
            if (!oneRow.empty())
                valuesSql = [this, paramOf, params, oneRow](int rows) {
                    return rows == 1 ? oneRow : m_settings.partsFile->RowInsertSql(paramOf, rows, params);
                };
            m_toPartsFile = bool(valuesSql);
        }
        Connection& target = m_toPartsFile ? settings.partsFile->Rows() : *conn;
        if (!valuesSql)
            valuesSql = [this](int rows) { return WorkingRowsSql(rows); };
        m_insert = std::make_unique<RowBlockInsert>(target.handle(), static_cast<int>(m_names.size()), valuesSql);
        if (m_insert->prepareResult() != SQLITE_OK)
            target.Fail(sqlite3_errcode(target.handle()), m_insert->oneRowSql());
    }

    // Writes one good line: the checked values of the mapped fields. The row may wait in a
    // block of rows until Flush; its texts live until then.
    void Write(const std::vector<FieldValue>& values, int32_t rowNumber, NewNameRegistry& names)
    {
        if (m_insert->PendingRows() == 0)
            m_scratch.clear(); // no waiting row points into it
        std::string_view part;
        RowCriteriaResult row;
        for (size_t i = 0; i < m_targets.size(); ++i) {
            const Target& t = m_targets[i];
            const FieldValue& v = values[i];
            switch (t.kind) {
            case ValueKind::Dimension: {
                // The parser has converted and rounded every length that reads as a number.
                if (!v.hasNumber)
                    throw VxError(kErrTypeMismatch, "Type mismatch", "PartsFileReader");
                double d = v.number;
                m_insert->Double(t.param, d);
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
                    row.scribes =
                        ConvertScribeUnits(std::string(v.text), m_settings.lengthFactor, m_settings.lengthDigits);
                m_insert->Text(t.param, Keep(row.scribes));
                break;
            case ValueKind::Other: BindOther(t.param, v); break;
            }
            if (t.isPart) {
                // A question about a new name comes after the rows before it are written, as
                // does any failure of writing them.
                if (!names.CriteriaFor(v.text))
                    Flush();
                names.CheckForNewPart(v.text);
                part = v.text;
            } else if (t.isMaterial) {
                names.CheckForNewMaterial(v.text);
            }
        }
        if (m_criteria)
            BindCriteria(part.data() ? names.CriteriaFor(part) : nullptr, row);
        m_insert->Text(m_fileNameParam, m_fileName);
        if (m_seqParam)
            m_insert->Int(m_seqParam, rowNumber);
        if (m_quantityParam)
            m_insert->Int(m_quantityParam, 1);
        if (m_toPartsFile && (!row.valid || m_settings.partsFile->HasFailed()))
            return; // the parts file holds the valid rows only
        Written(m_insert->EndRow());
    }

    // Writes the rows still waiting in the block (before a message, a question or the end
    // of the batch whose texts they use).
    void Flush() { Written(m_insert->Flush()); }

    // True when the rows are written with the criteria already applied.
    bool AppliesCriteria() const { return m_criteria != nullptr; }
    // True when the rows go straight into the parts file being built.
    bool WritesPartsFile() const { return m_toPartsFile; }

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

    // The INSERT of rows into the working table, parameters numbered row after row.
    std::string WorkingRowsSql(int rows) const
    {
        std::string sql = "INSERT INTO tblPartsFileProcessTemplate (";
        for (size_t i = 0; i < m_names.size(); ++i)
            sql += (i ? ", " : "") + SqlName(m_names[i]);
        sql += ") VALUES ";
        for (int r = 0; r < rows; ++r) {
            sql += r ? ", (" : "(";
            for (size_t i = 0; i < m_names.size(); ++i)
                sql += (i ? ", ?" : "?") + std::to_string(r * m_names.size() + i + 1);
            sql += ")";
        }
        return sql;
    }

    // The result of writing rows: a failure of the working table ends the read; one of the
    // parts file is kept for its end, and reading goes on (its messages and learned names
    // are those of the read), as it would have when copying the rows.
    void Written(int rc)
    {
        if (rc == SQLITE_DONE)
            return;
        if (!m_toPartsFile)
            m_conn->Fail(rc, "INSERT INTO tblPartsFileProcessTemplate");
        try {
            m_settings.partsFile->Rows().Fail(rc, "INSERT INTO tblParts");
        } catch (...) {
            m_settings.partsFile->RowsFailed(std::current_exception());
        }
    }

    // A text made while writing the row, kept alive until the row is written.
    std::string_view Keep(const std::string& text)
    {
        m_scratch.push_back(text);
        return m_scratch.back();
    }

    void BindCriteria(const PartCriteria* criteria, RowCriteriaResult& row)
    {
        ApplyCriteriaToNewRow(criteria, *m_criteria, row);
        const int* p = m_criteriaParams.data();
        m_insert->Int(p[0], row.valid);
        m_insert->Int(p[1], row.switched);
        m_insert->Int(p[2], row.panel);
        m_insert->Int(p[3], row.bGrade);
        m_insert->Int(p[4], row.process);
        m_insert->Int(p[5], row.pocketHoles);
        m_insert->Text(p[6], Keep(row.spaceBalls));
        m_insert->Text(p[7], Keep(row.scribes));
        m_insert->Double(p[8], row.width);
        m_insert->Double(p[9], row.length);
        m_insert->Int(p[10], row.reversed);
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
                    m_insert->Double(param, *number);
                else if (type == FieldType::Long)
                    m_insert->Int(param, RoundToLong(*number));
                else
                    m_insert->Int(param, *number != 0 ? 1 : 0);
                return;
            }
            std::string_view trimmed = TrimSpaces(v.text);
            if (type == FieldType::Boolean &&
                (trimmed.empty() || EqualsNoCase(trimmed, "false") || EqualsNoCase(trimmed, "true"))) {
                m_insert->Int(param, EqualsNoCase(trimmed, "true") ? 1 : 0);
                return;
            }
        }
        m_insert->Text(param, v.text);
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
    std::deque<std::string> m_scratch; // grows without moving what the waiting rows point to
    std::unique_ptr<RowBlockInsert> m_insert;
    int m_seqParam = 0, m_fileNameParam = 0, m_quantityParam = 0;
    bool m_toPartsFile = false;
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
{}

std::string PartsFileReader::FileNameValue(const std::string& title)
{
    std::string name(TrimSpaces(title));
    if (name.size() > 4 && name[name.size() - 4] == '.')
        name.resize(name.size() - 4);
    return name;
}

PartsFileReader::InputShape PartsFileReader::InspectInput(const std::string& path)
{
    InputShape shape;
    FilePtr in = OpenFile(path, "rb");
    ByteBuffer buf(kTextBlockSize);
    bool anyByte = false, first = true;
    size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), in.get())) > 0) {
        if (first) {
            // UTF-16 text is full of NUL bytes and is never rewritten.
            shape.utf16 = IsUtf16(MarkedEncoding(std::string_view(buf.data(), got)));
            shape.binary = !shape.utf16 && std::memchr(buf.data(), '\0', std::min(got, kTextProbeBytes));
            if (shape.binary || shape.utf16)
                return shape;
            first = false;
        }
        anyByte = true;
        if (std::memchr(buf.data(), '\r', got))
            return shape;
    }
    shape.bareLineFeeds = anyByte;
    return shape;
}

bool PartsFileReader::RewriteWithCrLf(const std::string& path)
{
    // Copy with CR LF line ends into a temporary file beside the file (the target of a
    // link), then put it in place with the file's mode and owner.
    std::string tmp = TemporaryPathBeside(path);
    try {
        FilePtr in = OpenFile(path, "rb");
        FilePtr out = OpenFile(tmp, "wb");
        ByteBuffer buf(kTextBlockSize);
        std::vector<char> converted;
        converted.reserve(kTextBlockSize * 2);
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
        ReplaceFileWith(tmp, path);
    } catch (const std::exception&) {
        // The rewrite only spares later readers the bare line feeds: reading the file as it
        // is gives the same rows.
        RemoveQuietly(tmp);
        return false;
    }
    return true;
}

bool PartsFileReader::Read(const std::string& path, const std::string& title, const ReaderSettings& settings)
{
    InputShape shape = InspectInput(path);
    if (shape.binary) {
        ShowMessage("The file " + EscapeControlCharacters(path) +
                        " is not a text file (it holds a NUL byte), so it was not read and was left as it is.",
                    vbOKOnly, "");
        return false;
    }
    // A line feed ends a line in any case; a file that may not be written (or a run that
    // leaves the input alone) reads it as it is.
    if (shape.bareLineFeeds && settings.rewriteLineEnds && MayReplaceFile(path))
        RewriteWithCrLf(path);
    const std::string fileName = FileNameValue(title);
    std::vector<MappedField> fields = ReadMappedFields(*m_conn);
    ExpandDimensionsField(fields, DimensionOrderOf(settings.dimensionsOrder));
    m_criteriaApplied = m_rowsInPartsFile = false;
    m_rowsRead = m_rowsRejected = 0;
    const CriteriaOptions* criteria =
        settings.criteria && m_names.CriteriaApplicableByRow() ? &*settings.criteria : nullptr;

    std::error_code ec;
    auto size = fs::file_size(path, ec);
    m_progress.start("Reading parts file", ec ? 0 : static_cast<int64_t>(size));

    // Lines are cut and checked on a second thread; this one writes the rows, learns the
    // names (which may ask the operator) and reports.
    BatchQueue<ParsedBatch> queue;
    CutListParser parser(path, fields, settings);
    std::thread parsing = [&parser, &queue] {
        InterruptsBlocked onThisThreadOnly;
        return std::thread([&parser, &queue] { parser.Run(queue); });
    }();
    struct JoinGuard {
        BatchQueue<ParsedBatch>& queue;
        std::thread& thread;
        ~JoinGuard()
        {
            queue.Stop();
            thread.join();
        }
    } joinGuard{queue, parsing};

    std::unique_ptr<RowWriter> writer;
    std::unique_ptr<Transaction> transaction;
    ErrorLog& log = TheErrorLog();
    std::vector<FieldValue> values(fields.size());
    int32_t written = 0;
    bool rejected = false, droppedFragment = false;
    RejectionSummary summary;
    std::unique_ptr<ParsedBatch> batch; // outlives a failure: waiting rows point into it
    try {
        while ((batch = queue.Pop())) {
            if (batch->error)
                std::rethrow_exception(batch->error);
            for (const ParsedRow& row : batch->rows) {
                // Stopped while a question was open: no further row is written or asked about.
                if (m_progress.cancelled())
                    break;
                if (!writer) {
                    if (onDataFound)
                        onDataFound();
                    transaction = std::make_unique<Transaction>(*m_conn);
                    writer = std::make_unique<RowWriter>(m_conn, fields, settings, fileName, criteria);
                    m_criteriaApplied = writer->AppliesCriteria();
                    m_rowsInPartsFile = writer->WritesPartsFile();
                }
                if (row.rejected) {
                    writer->Flush();
                    for (const std::string& failure : batch->failures[row.report])
                        ShowMessage(failure, vbOKOnly, "");
                    log.AddInfo(batch->reports[row.report]);
                    summary.Add(batch->reasons[row.report]);
                    rejected = true;
                    ++m_rowsRejected;
                    continue;
                }
                for (size_t i = 0; i < values.size(); ++i) {
                    const ParsedField& f = batch->fields[row.firstField + i];
                    values[i].text = batch->Text(f);
                    values[i].number = f.number;
                    values[i].hasNumber = f.hasNumber;
                }
                writer->Write(values, ++written, m_names);
            }
            if (writer)
                writer->Flush(); // the rows point into this batch
            if (!m_progress.update(batch->bytesRead))
                throw VxError(kErrUserInterrupt, "User interrupt occurred", "PartsFileReader");
            if (batch->last) {
                droppedFragment = batch->droppedFragment;
                break;
            }
        }
        if (transaction)
            transaction->commit();
    } catch (...) {
        // What was written so far stays, as do the part names the operator answered for.
        if (transaction) {
            try {
                if (writer)
                    writer->Flush();
            } catch (...) {
            }
            try {
                transaction->commit();
            } catch (...) {
            }
        }
        m_rowsRead = written;
        m_progress.end();
        throw;
    }
    m_progress.end();
    m_rowsRead = written;

    if (droppedFragment) {
        // A warning, not an error: the whole characters of the file are all read.
        if (State().CommandLineMode)
            WriteStdErr(DroppedFragmentWarning(path));
        else if (writer)
            log.AddInfo(DroppedFragmentWarning(path) + "\r\n\r\n", false);
    }
    if (!writer) {
        ShowMessage("NO DATA FOUND IN THE FILE:\r\n" + path, vbOKOnly, "");
        return false;
    }
    if (!rejected) {
        if (droppedFragment && !State().CommandLineMode)
            log.Display();
        return true;
    }
    log.SetSummary(summary.Line(written));
    log.Display();
    if (State().CommandLineMode) {
        State().BadRowsFound = true;
        return State().AllowBadRows;
    }
    return false;
}

} // namespace vx
