#include "config/modCLTSettings.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"

#include <functional>
#include <optional>
#include <vector>

namespace vx {

namespace {

// One key of a group: how its stored text is accepted into memory and how it is stored.
struct SettingKey {
    const char* name;
    std::function<void()> setDefault;
    std::function<void(const std::string& trimmed)> accept;
    std::function<std::string()> stored;
    bool addWhenMissing;
};

std::optional<int32_t> WholeNumber(const std::string& text)
{
    auto v = ParseNumber(text);
    if (!v)
        return std::nullopt;
    return RoundToLong(*v);
}

SettingKey BoolKey(const char* name, bool ProgramState::*member, bool addWhenMissing)
{
    return {name, [member] { State().*member = false; },
            [member](const std::string& t) {
                if (auto n = WholeNumber(t))
                    State().*member = *n != 0;
            },
            [member] { return std::string(State().*member ? "1" : "0"); }, addWhenMissing};
}

SettingKey LongKey(const char* name, int32_t ProgramState::*member, int32_t def, std::function<bool(int32_t)> accepted,
                   int32_t fallback, bool addWhenMissing)
{
    return {name, [member, def] { State().*member = def; },
            [member, accepted, fallback](const std::string& t) {
                if (auto n = WholeNumber(t))
                    State().*member = accepted(*n) ? *n : fallback;
                else
                    State().*member = fallback;
            },
            [member] { return std::to_string(State().*member); }, addWhenMissing};
}

SettingKey TextKey(const char* name, std::function<std::string&()> ref, bool addWhenMissing)
{
    return {name, [ref] { ref().clear(); }, [ref](const std::string& t) { ref() = t; },
            [ref] { return TrimBlanks(ref()); }, addWhenMissing};
}

std::vector<SettingKey> MachineKeys()
{
    return {LongKey(
                "MachineType", &ProgramState::MachineType, 2, [](int32_t n) { return n >= 0 && n <= 2; }, 2, false),
            BoolKey("Scribes", &ProgramState::Scribes, false), BoolKey("SpaceBalls", &ProgramState::SpaceBalls, false),
            BoolKey("PocketHoles", &ProgramState::PocketHoles, false),
            LongKey(
                "AskIfValid", &ProgramState::AskIfValid, 1, [](int32_t) { return true; }, 1, true)};
}

std::vector<SettingKey> ExtraSpaceBallKeys()
{
    return {TextKey(
                "ExtraSpaceBalls3", []() -> std::string& { return State().ExtraSpaceBalls[0]; }, false),
            TextKey(
                "ExtraSpaceBalls4", []() -> std::string& { return State().ExtraSpaceBalls[1]; }, false)};
}

std::vector<SettingKey> FileExtensionKeys()
{
    return {TextKey(
        "FileExtension", []() -> std::string& { return State().FileExtension; }, false)};
}

std::vector<SettingKey> ProcessingKeys()
{
    auto nonNegative = [](int32_t n) { return n >= 0; };
    // A refused skip count keeps the default (0), as a missing row does.
    return {LongKey("MappingSkipFirstXLines", &ProgramState::MappingSkipFirstXLines, 0, nonNegative, 0, true),
            LongKey("ProcessingSkipFirstXLines", &ProgramState::ProcessingSkipFirstXLines, 0, nonNegative, 0, true),
            BoolKey("NoQuantityField", &ProgramState::NoQuantityField, true),
            LongKey(
                "ConvertLengthType", &ProgramState::ConvertLengthType, 0, [](int32_t n) { return n >= 0 && n <= 2; }, 0,
                true)};
}

std::vector<SettingKey> ReadingOptionKeys()
{
    return {BoolKey("QuotedFields", &ProgramState::QuotedFields, true),
            BoolKey("LengthsWithUnits", &ProgramState::LengthsWithUnits, true),
            BoolKey("FeetAndInches", &ProgramState::FeetAndInches, true),
            TextKey(
                "DimensionsOrder", []() -> std::string& { return State().DimensionsOrder; }, true),
            BoolKey("SortDimensions", &ProgramState::SortDimensions, true)};
}

void ReportError(const std::exception& e) { ShowMessage(StandardErrorText(e), vbOKOnly, ""); }

// The configuration connection a read is given, else one of its own.
std::shared_ptr<Connection> Configuration(const std::shared_ptr<Connection>& given)
{
    return given ? given : Connection::Open(DefDatabasePath());
}

void LoadGroup(const std::vector<SettingKey>& keys, const std::shared_ptr<Connection>& given = nullptr)
{
    try {
        auto conn = Configuration(given);
        RecordSet rs(conn, "SELECT * from tblSettings");
        for (const SettingKey& key : keys) {
            key.setDefault();
            rs.SetFilter("SettingName = " + SqlQuote(key.name));
            if (rs.RecordCount() > 0) {
                rs.MoveFirst();
                std::string value = TrimBlanks(rs.Value("SettingValue").toText());
                try {
                    key.accept(value);
                } catch (const VxError&) {
                    key.setDefault(); // a number too large for a whole number: keep the default
                }
            }
        }
        rs.SetFilter("");
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

void SaveGroup(const std::vector<SettingKey>& keys)
{
    try {
        auto conn = Connection::Open(DefDatabasePath());
        RecordSet rs(conn, "SELECT * from tblSettings");
        for (const SettingKey& key : keys) {
            rs.SetFilter("SettingName = " + SqlQuote(key.name));
            if (rs.RecordCount() > 0) {
                rs.MoveFirst();
                rs.SetValue("SettingValue", key.stored());
                rs.Update();
            } else if (key.addWhenMissing) {
                rs.AddNew();
                rs.SetValue("SettingName", std::string(key.name));
                rs.SetValue("SettingValue", key.stored());
                rs.Update();
            }
        }
        rs.SetFilter("");
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

void AddMissingMappingRowsWith(const std::shared_ptr<Connection>& given)
{
    try {
        auto conn = Configuration(given);
        // A configuration from before the DIMENSIONS field gets it, unmapped, after its last
        // row (IDNum stays without gaps); an empty mapping table is left empty.
        conn->Execute("INSERT INTO tblPartsFileMapping (IDNum, MainName, UserLabel, PF_Col, RequiredField, "
                      "ManualField, DataType) SELECT (SELECT MAX(IDNum) FROM tblPartsFileMapping) + 1, "
                      "'DIMENSIONS', 'DIMENSIONS', 0, 0, 0, 'TEXT' WHERE EXISTS (SELECT 1 FROM tblPartsFileMapping) "
                      "AND NOT EXISTS (SELECT 1 FROM tblPartsFileMapping WHERE MainName = 'DIMENSIONS')");
    } catch (const std::exception&) {
        // A database that cannot take the row (read-only, no mapping table) is read as it is;
        // whoever reads the mapping reports a missing table.
    }
}

void LoadDelimiterWith(const std::shared_ptr<Connection>& given)
{
    State().Delimiter = ",";
    try {
        auto conn = Configuration(given);
        RecordSet rs(conn, "SELECT * from tblDelimiters order by ID asc");
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            if (rs.Value("Selected").toBool())
                State().Delimiter = rs.Value("Delimiter").toText();
    } catch (const std::exception& e) {
        ReportError(e);
    }
}
} // namespace

void AddMissingMappingRows() { AddMissingMappingRowsWith(nullptr); }

void LoadSettings()
{
    // One connection serves every read; when it cannot be opened, each read opens its own
    // and reports its failure as it does alone.
    std::shared_ptr<Connection> conn;
    try {
        conn = Connection::Open(DefDatabasePath());
    } catch (const std::exception&) {
    }
    AddMissingMappingRowsWith(conn);
    LoadGroup(MachineKeys(), conn);
    SetMachineFlags();
    LoadGroup(ExtraSpaceBallKeys(), conn);
    LoadGroup(FileExtensionKeys(), conn);
    LoadGroup(ProcessingKeys(), conn);
    LoadDelimiterWith(conn);
    LoadGroup(ReadingOptionKeys(), conn);
}

void LoadMachineSettings() { LoadGroup(MachineKeys()); }
void LoadExtraSpaceBalls() { LoadGroup(ExtraSpaceBallKeys()); }
void LoadFileExtension() { LoadGroup(FileExtensionKeys()); }
void LoadProcessingSettings() { LoadGroup(ProcessingKeys()); }
void LoadReadingOptions() { LoadGroup(ReadingOptionKeys()); }

void SetMachineFlags()
{
    State().BGradeEnabled = State().MachineType == 1;
    State().PanelEnabled = State().MachineType != 0;
}

void LoadDelimiter() { LoadDelimiterWith(nullptr); }

void SaveMachineSettings() { SaveGroup(MachineKeys()); }
void SaveFileExtension() { SaveGroup(FileExtensionKeys()); }
void SaveProcessingSettings() { SaveGroup(ProcessingKeys()); }
void SaveExtraSpaceBalls() { SaveGroup(ExtraSpaceBallKeys()); }
void SaveReadingOptions() { SaveGroup(ReadingOptionKeys()); }

void SaveDelimiter(const std::string& delimiter)
{
    try {
        auto conn = Connection::Open(DefDatabasePath());
        Transaction tx(*conn);
        Statement st = conn->Prepare("UPDATE tblDelimiters SET Selected = (Delimiter = ?1 COLLATE BINARY)");
        st.BindText(1, delimiter);
        st.Run();
        tx.commit();
        State().Delimiter = delimiter;
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

std::string PartsFileFilter(const std::string& extension)
{
    std::string ext = TrimBlanks(extension);
    if (ext.empty())
        return "All Files (*.*)|*.*";
    return "Parts Files (*." + ext + ")|*." + ext + "|All Files (*.*)|*.*";
}

bool CriteriaColumnsMissing()
{
    auto conn = Connection::Open(DefDatabasePath());
    RecordSet rs(conn, "SELECT * from tblPartsCriteria");
    bool switchDims = false, reverseScribes = false;
    for (const ColumnInfo& c : rs.Columns()) {
        std::string name = UpperCase(c.name);
        switchDims = switchDims || name == "SWITCH_DIMS";
        reverseScribes = reverseScribes || name == "REVERSE_SCRIBES";
    }
    return !(switchDims && reverseScribes);
}

std::string GetExtraSpaceBallLength(int entry)
{
    if (entry < 1 || entry > 2)
        throw VxError(9, "Subscript out of range");
    return State().ExtraSpaceBalls[static_cast<size_t>(entry - 1)];
}

void SetExtraSpaceBallLength(int entry, const std::string& text)
{
    if (entry < 1 || entry > 2)
        throw VxError(9, "Subscript out of range");
    State().ExtraSpaceBalls[static_cast<size_t>(entry - 1)] = text;
}

} // namespace vx
