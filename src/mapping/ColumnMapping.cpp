#include "mapping/ColumnMapping.h"

#include "base/ErrorLog.h"
#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "convert/DimensionsCell.h"

namespace vx {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr int kErrSubscriptOutOfRange = 9;

// Runs one model procedure under the standard error handling: a failure ends it and is
// reported as "Error: <number>, <description>, <source>".
template <typename Body> bool Guarded(Body body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        return false;
    }
}

std::string NormalLabel(const std::string& text) { return UpperCase(TrimBlanks(text)); }

} // namespace

bool ColumnMapping::ConnectToDB()
{
    return Guarded([&] { m_conn = Connection::Open(DefDatabasePath()); });
}

void ColumnMapping::UseConnection(std::shared_ptr<Connection> connection) { m_conn = std::move(connection); }

bool ColumnMapping::GetRS()
{
    return Guarded([&] {
        m_labels.clear();
        m_rs.Open(m_conn, "SELECT * from tblPartsFileMapping order by IDNum asc");
        if (m_rs.RecordCount() < 1)
            return;
        m_labels.assign(static_cast<size_t>(m_rs.RecordCount()), std::string());
        for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext())
            SetDisplayLabel(m_rs.Value("IDNum").toLong(), m_rs.Value("UserLabel").toText());
    });
}

void ColumnMapping::Release()
{
    m_rs.Close();
    m_conn.reset();
    m_userMapping.clear();
}

const std::string& ColumnMapping::DisplayLabel(int idNum) const
{
    if (idNum < 1 || idNum > LabelCount())
        throw VxError(kErrSubscriptOutOfRange, "Subscript out of range", "ColumnMapping");
    return m_labels[static_cast<size_t>(idNum - 1)];
}

void ColumnMapping::SetDisplayLabel(int idNum, const std::string& label)
{
    if (idNum < 1 || idNum > LabelCount())
        throw VxError(kErrSubscriptOutOfRange, "Subscript out of range", "ColumnMapping");
    m_labels[static_cast<size_t>(idNum - 1)] = label;
}

const std::string& ColumnMapping::Cell(int column) const { return m_row.at(static_cast<size_t>(column - 1)); }

void ColumnMapping::SetCell(int column, const std::string& text) { m_row.at(static_cast<size_t>(column - 1)) = text; }

void ColumnMapping::ClearMappingRow(int columnCount)
{
    m_row.assign(static_cast<size_t>(columnCount > 0 ? columnCount : 0), std::string());
}

void ColumnMapping::FillUnusedCells()
{
    for (std::string& cell : m_row)
        if (cell.empty())
            cell = kNotUsed;
}

std::string ColumnMapping::CreateComboList()
{
    std::string list = kNotUsed;
    Guarded([&] {
        m_rs.SetFilter("");
        m_rs.SetSort("IDNum");
        for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext())
            list += "|" + DisplayLabel(m_rs.Value("IDNum").toLong());
        m_rs.SetSort("");
    });
    return list;
}

bool ColumnMapping::LoadSavedMapping(int columnCount)
{
    return Guarded([&] {
        m_rs.SetFilter("");
        m_rs.SetSort("");
        bool columnReset = false;
        for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext()) {
            int32_t col = m_rs.Value("PF_Col").toLong();
            if (col > 0 && col > columnCount) {
                m_rs.SetValue("PF_Col", 0);
                m_rs.Update();
                columnReset = true;
            }
        }
        ClearMappingRow(columnCount);
        for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext()) {
            int32_t col = m_rs.Value("PF_Col").toLong();
            if (col > 0)
                SetCell(col, DisplayLabel(m_rs.Value("IDNum").toLong()));
        }
        FillUnusedCells();
        if (columnReset) {
            ErrorLog& log = TheErrorLog();
            log.ClearLog();
            log.AddInfo(std::string("This is an informational message only.") + kCrLf + kCrLf +
                        "The number of columns in the parts file is less than a column in the current mapping. " +
                        kCrLf + kCrLf +
                        "Previously mapped columns that have a column number greater than the number of columns in "
                        "the parts file are reset to not mapped.");
            log.Display();
        }
    });
}

void ColumnMapping::SelectColumn(int column, const std::string& choice)
{
    SetCell(column, choice);
    for (int c = 1; c <= ColumnCount(); ++c)
        if (c != column && Cell(c) == choice)
            SetCell(c, kNotUsed);
}

bool ColumnMapping::CanEditDisplayLabel(const std::string& currentLabel)
{
    if (NormalLabel(currentLabel) != "SCRIBES")
        return true;
    ShowMessage("LABEL FOR SCRIBES CAN NOT BE CHANGED.", vbOKOnly, "");
    return false;
}

std::string ColumnMapping::EditDisplayLabel(int idNum, const std::string& currentLabel, const std::string& entered)
{
    const std::string current = NormalLabel(currentLabel);
    const std::string newLabel = NormalLabel(entered);
    if (newLabel == current)
        return current;
    if (newLabel.empty()) {
        ShowMessage("A Display Label can not be empty", vbOKOnly, "");
        return current;
    }
    // Labels are found again by a case-blind lookup in the table, and "NOT USED" is the
    // mapping row's own choice: either kind of clash would leave a field unmappable.
    bool clash = newLabel == kNotUsed;
    for (const std::string& label : m_labels)
        clash = clash || EqualsNoCase(label, newLabel);
    if (clash) {
        ShowMessage("The new Display Label matchs an existing Display Label. Display Labels must be unique.", vbOKOnly,
                    "");
        return current;
    }
    if (!Guarded([&] { SetDisplayLabel(idNum, newLabel); }))
        return current;
    for (std::string& cell : m_row)
        if (NormalLabel(cell) == current)
            cell = newLabel;
    return newLabel;
}

bool ColumnMapping::SaveMapping()
{
    bool ok = Guarded([&] {
        Transaction transaction(*m_conn);
        m_rs.SetSort("");
        m_rs.SetFilter("");
        for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext()) {
            bool manual =
                m_rs.Value("RequiredField").toBool() || EqualsNoCase(m_rs.Value("MainName").toText(), "SCRIBES");
            m_rs.SetValue("PF_Col", 0);
            m_rs.SetValue("UserLabel", DisplayLabel(m_rs.Value("IDNum").toLong()));
            m_rs.SetValue("ManualField", manual);
            m_rs.Update();
        }
        for (int c = 1; c <= ColumnCount(); ++c) {
            std::string label = TrimBlanks(Cell(c));
            if (label == kNotUsed)
                continue;
            m_rs.SetFilter("USERLABEL = " + SqlQuote(label));
            if (m_rs.RecordCount() > 0) {
                m_rs.MoveFirst();
                m_rs.SetValue("PF_Col", c);
                m_rs.SetValue("ManualField", true);
                m_rs.Update();
            }
            m_rs.SetFilter("");
        }
        m_rs.SetFilter("");
        transaction.commit();
    });
    if (!ok)
        Guarded([&] { m_rs.Requery(); }); // the rolled-back rows are read again
    return ok;
}

const std::vector<UserMappingRow>& ColumnMapping::GetUserMappingFromGrid()
{
    m_userMapping.clear();
    for (int c = 1; c <= ColumnCount(); ++c) {
        std::string label = NormalLabel(Cell(c));
        if (label == kNotUsed)
            continue;
        UserMappingRow row{label, c, std::nullopt};
        for (int i = 1; i <= LabelCount() && !row.IDNum; ++i)
            if (DisplayLabel(i) == label)
                row.IDNum = i;
        m_userMapping.push_back(row);
    }
    return m_userMapping;
}

std::vector<MappingEntry> ColumnMapping::EntriesOf(const std::vector<UserMappingRow>& mapping)
{
    std::vector<MappingEntry> entries;
    m_rs.SetFilter("");
    for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext()) {
        int32_t idNum = m_rs.Value("IDNum").toLong();
        MappingEntry e{m_rs.Value("MainName").toText(), DisplayLabel(idNum), false};
        for (const UserMappingRow& row : mapping)
            e.mapped = e.mapped || row.IDNum == idNum;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<ColumnMapping::RequiredField>
ColumnMapping::RequiredFieldsMissingFrom(const std::vector<UserMappingRow>& mapping)
{
    const std::vector<MappingEntry> entries = EntriesOf(mapping);
    const std::string order = DimensionOrderOf(State().DimensionsOrder);
    std::vector<RequiredField> missing;
    m_rs.SetFilter("RequiredField <> 0");
    for (m_rs.MoveFirst(); !m_rs.Eof(); m_rs.MoveNext()) {
        int32_t idNum = m_rs.Value("IDNum").toLong();
        bool mapped = GivenByDimensions(m_rs.Value("MainName").toText(), entries, order);
        for (const UserMappingRow& row : mapping)
            mapped = mapped || row.IDNum == idNum;
        if (!mapped)
            missing.push_back({idNum, m_rs.Value("MainName").toText()});
    }
    m_rs.SetFilter("");
    return missing;
}

std::vector<std::string> ColumnMapping::RequiredLabelsWithoutColumn()
{
    std::vector<std::string> labels;
    std::vector<UserMappingRow> kept = m_userMapping;
    Guarded([&] {
        for (const RequiredField& f : RequiredFieldsMissingFrom(GetUserMappingFromGrid()))
            labels.push_back(DisplayLabel(f.IDNum));
    });
    m_userMapping = std::move(kept);
    return labels;
}

void ColumnMapping::CheckForValidMapping(bool& IsError)
{
    IsError = false;
    ErrorLog& log = TheErrorLog();
    log.ClearLog();
    bool ok = Guarded([&] {
        for (const RequiredField& f : RequiredFieldsMissingFrom(m_userMapping)) {
            if (!IsError)
                log.AddInfo(std::string("THE FOLLOWING ARE ERRORS IN THE MAPPING") + kCrLf + kCrLf);
            log.AddInfo("You must select a column for DB Name: " + f.MainName +
                        ", Display Label: " + DisplayLabel(f.IDNum) + ", This is a required field." + kCrLf + kCrLf);
            IsError = true;
        }
        for (const std::string& clash :
             DimensionsClashes(EntriesOf(m_userMapping), DimensionOrderOf(State().DimensionsOrder))) {
            if (!IsError)
                log.AddInfo(std::string("THE FOLLOWING ARE ERRORS IN THE MAPPING") + kCrLf + kCrLf);
            log.AddInfo(clash);
            IsError = true;
        }
    });
    // A check that could not run has not found the mapping complete; its message is shown.
    if (!ok)
        IsError = true;
    else if (IsError)
        log.Display();
    m_userMapping.clear();
}

} // namespace vx
