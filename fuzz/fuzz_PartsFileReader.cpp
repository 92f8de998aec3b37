// The whole conversion on arbitrary file bytes with an arbitrary mapping: the first bytes
// choose each mapping row's column and data type, the delimiter, the skip count, the
// length conversion and the criteria options; the rest is the cut list. Reading and
// writing report every problem through messages and results, never by crashing, and a
// written parts file holds no more parts than the cut list has lines.
#include "FuzzSupport.h"

#include "base/ErrorLog.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/modCLTSettings.h"
#include "convert/ConversionSession.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

const char* const kDataTypes[] = {"TEXT", "LONG", "DOUBLE", ""};
const char* const kDelimiters[] = {",", ",", ";", "\t", "||", ""};
constexpr int kMappingRows = 32;

int64_t g_criteriaRows = 0, g_materialRows = 0;

int64_t MaxRowId(vx::Connection& conn, const char* table)
{
    vx::Statement st = conn.Prepare(std::string("SELECT IFNULL(MAX(rowid), 0) FROM ") + table);
    st.Step();
    return st.Column(0).rawLong();
}

// The mapping, criteria and materials of the factory configuration, with this input's mapping.
void PrepareConfiguration(vxfuzz::ByteReader& bytes)
{
    auto conn = vx::Connection::Open(vx::DefDatabasePath());
    vx::Transaction tx(*conn);
    if (g_criteriaRows == 0) {
        g_criteriaRows = MaxRowId(*conn, "tblPartsCriteria");
        g_materialRows = MaxRowId(*conn, "tblMaterials");
    }
    // Names learned from the previous input are forgotten, so every input starts alike.
    conn->Execute("DELETE FROM tblPartsCriteria WHERE rowid > " + std::to_string(g_criteriaRows));
    conn->Execute("DELETE FROM tblMaterials WHERE rowid > " + std::to_string(g_materialRows));
    vx::Statement st = conn->Prepare("UPDATE tblPartsFileMapping SET PF_Col = ?1, DataType = ?2 WHERE IDNum = ?3");
    for (int id = 1; id <= kMappingRows; ++id) {
        uint8_t b = bytes.Byte();
        st.BindLong(1, id <= 14 ? b % 12 : 0);
        st.BindText(2, kDataTypes[(b >> 4) & 3]);
        st.BindLong(3, id);
        st.Run();
        st.Reset();
    }
    tx.commit();
}

int CountLines(const std::string& text)
{
    return 1 + static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vxfuzz::SetUpRuntimeOnce();
    vxfuzz::ByteReader bytes(data, size);
    PrepareConfiguration(bytes);
    vx::LoadSettings();

    vx::ProgramState& state = vx::State();
    const uint8_t options = bytes.Byte();
    state.Delimiter = kDelimiters[bytes.Byte() % std::size(kDelimiters)];
    state.ProcessingSkipFirstXLines = options & 3;
    state.ConvertLengthType = (options >> 2) % 3;
    state.AllowBadRows = (options & 16) != 0;
    state.MachineType = (options >> 5) % 3;
    state.Scribes = state.SpaceBalls = state.PocketHoles = (options & 128) != 0;
    state.ExtraSpaceBalls = {bytes.Field(), bytes.Field()};
    state.AskIfValid = 0;
    state.BadRowsFound = false;
    state.ErrorReported = false;
    vx::TheErrorLog().ClearLog();

    // A NUL byte makes a file binary, refused before any line is read; an input that does not
    // start with one has its NUL bytes turned into another control byte, so the lines behind
    // them are read too.
    std::string content = bytes.Rest();
    if (!content.empty() && content[0] != '\0')
        std::replace(content.begin(), content.end(), '\0', '\x01');
    const std::string input = vxfuzz::ScratchFolder() + "/cut list.csv";
    const std::string output = vxfuzz::ScratchFolder() + "/cut list.rdb";
    {
        std::ofstream f(input, std::ios::binary | std::ios::trunc);
        f << content;
    }
    std::error_code ec;
    std::filesystem::remove(output, ec);

    vx::ConversionSession session;
    if (session.Prepare() && session.AUTOOpenPartsFile(input, "cut list.csv") && !state.ErrorReported &&
        session.AUTOCreateROPartsFile(output) && !state.ErrorReported) {
        auto conn = vx::Connection::Open(output);
        vx::Statement st = conn->Prepare("SELECT COUNT(*) FROM tblParts");
        st.Step();
        vxfuzz::Require(st.Column(0).rawLong() <= CountLines(content), "more parts written than lines read");
    }
    session.CommandLineShutdown();
    return 0;
}
