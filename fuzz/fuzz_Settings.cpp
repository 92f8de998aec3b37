// The settings loader on arbitrary stored values: every key of tblSettings and the
// delimiter rows get values of any storage kind (text, whole number, real, blob, NULL).
// Loading never reports an error, keeps every setting within its range, and what the
// program saves it loads again unchanged.
#include "FuzzSupport.h"

#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/modCLTSettings.h"

#include <cstring>

namespace {

const char* const kKeys[] = {"MachineType",
                             "Scribes",
                             "SpaceBalls",
                             "PocketHoles",
                             "AskIfValid",
                             "FileExtension",
                             "MappingSkipFirstXLines",
                             "ProcessingSkipFirstXLines",
                             "NoQuantityField",
                             "ConvertLengthType",
                             "ExtraSpaceBalls3",
                             "ExtraSpaceBalls4"};

// Binds the next value of the input in the storage kind its first byte chooses; blobIndex
// tells the statement to store a text as a blob.
void BindValue(vx::Statement& st, int index, int blobIndex, vxfuzz::ByteReader& bytes)
{
    const uint8_t kind = bytes.Byte() % 5;
    st.BindLong(blobIndex, kind == 4 ? 1 : 0);
    switch (kind) {
    case 0: st.BindText(index, bytes.Field()); break;
    case 1: {
        int64_t v;
        double d = bytes.Double();
        std::memcpy(&v, &d, sizeof v);
        st.BindLong(index, v);
        break;
    }
    case 2: st.BindDouble(index, bytes.Double()); break;
    case 3: st.BindNull(index); break;
    default: st.BindText(index, bytes.Field()); break;
    }
}

// The loaded settings as one text, so a difference names the setting. A selected delimiter
// row with an empty text cannot be selected again by its text: it reloads as the default.
std::string Describe(const vx::ProgramState& a)
{
    return "MachineType=" + std::to_string(a.MachineType) + " Scribes=" + std::to_string(a.Scribes) +
           " SpaceBalls=" + std::to_string(a.SpaceBalls) + " PocketHoles=" + std::to_string(a.PocketHoles) +
           " AskIfValid=" + std::to_string(a.AskIfValid) + " FileExtension=[" + a.FileExtension + "]" +
           " MappingSkip=" + std::to_string(a.MappingSkipFirstXLines) +
           " ProcessingSkip=" + std::to_string(a.ProcessingSkipFirstXLines) +
           " NoQuantityField=" + std::to_string(a.NoQuantityField) +
           " ConvertLengthType=" + std::to_string(a.ConvertLengthType) + " Delimiter=[" +
           (a.Delimiter.empty() ? std::string(",") : a.Delimiter) + "]" + " Extra=[" + a.ExtraSpaceBalls[0] + "][" +
           a.ExtraSpaceBalls[1] + "]" + " BGrade=" + std::to_string(a.BGradeEnabled) +
           " Panel=" + std::to_string(a.PanelEnabled);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vxfuzz::SetUpRuntimeOnce();
    vxfuzz::ByteReader bytes(data, size);
    {
        auto conn = vx::Connection::Open(vx::DefDatabasePath());
        vx::Transaction tx(*conn);
        for (const char* key : kKeys) {
            vx::Statement st =
                conn->Prepare("UPDATE tblSettings SET SettingValue = CASE ?3 WHEN 1 THEN CAST(?1 AS BLOB) ELSE ?1 END "
                              "WHERE SettingName = ?2");
            BindValue(st, 1, 3, bytes);
            st.BindText(2, key);
            st.Run();
        }
        for (int id = 1; id <= 3; ++id) {
            // Delimiters are texts (the mapping screen stores them; a blob never equals a text).
            vx::Statement st = conn->Prepare("UPDATE tblDelimiters SET Delimiter = ?1, Selected = ?2 WHERE ID = ?3");
            st.BindText(1, bytes.Field());
            st.BindLong(2, bytes.Byte() & 1);
            st.BindLong(3, id);
            st.Run();
        }
        tx.commit();
    }

    vx::State().ErrorReported = false;
    vx::LoadSettings();
    const vx::ProgramState& s = vx::State();
    vxfuzz::Require(!s.ErrorReported, "loading the settings reported an error");
    vxfuzz::Require(s.MachineType >= 0 && s.MachineType <= 2, "MachineType out of range");
    vxfuzz::Require(s.ConvertLengthType >= 0 && s.ConvertLengthType <= 2, "ConvertLengthType out of range");
    vxfuzz::Require(s.MappingSkipFirstXLines >= 0 && s.ProcessingSkipFirstXLines >= 0, "negative skip count");
    vxfuzz::Require(!vx::CriteriaColumnsMissing(), "criteria columns reported missing");

    // What the screens save, the next start loads unchanged.
    const std::string loaded = Describe(s);
    vx::SaveMachineSettings();
    vx::SaveFileExtension();
    vx::SaveProcessingSettings();
    vx::SaveExtraSpaceBalls();
    vx::SaveDelimiter(s.Delimiter);
    vx::LoadSettings();
    vxfuzz::Require(!s.ErrorReported, "saving or reloading the settings reported an error");
    vxfuzz::Require(Describe(s) == loaded, "saved settings load back differently:\n  " + loaded + "\n  " + Describe(s));
    return 0;
}
