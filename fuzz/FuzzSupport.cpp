#include "FuzzSupport.h"

#include "base/Messages.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vxfuzz {

namespace {
std::string& Folder()
{
    static std::string folder;
    return folder;
}

std::string ReadText(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        Fail("cannot read " + path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Builds a database file from one of the factory SQL texts, as the build does.
void BuildDatabase(const std::string& sqlName, const std::string& target)
{
    sqlite3* db = nullptr;
    std::string sql = ReadText(std::string(VX_SOURCE_DIR) + "/data/" + sqlName);
    char* error = nullptr;
    if (sqlite3_open(target.c_str(), &db) != SQLITE_OK ||
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        Fail("cannot build " + target + ": " + (error ? error : sqlite3_errmsg(db)));
    sqlite3_close(db);
}
} // namespace

void SetUpRuntimeOnce()
{
    if (!Folder().empty())
        return;
    char pattern[] = "/tmp/vxfuzzXXXXXX";
    if (!mkdtemp(pattern))
        Fail("mkdtemp failed");
    Folder() = pattern;
    vx::ResetState();
    vx::State().CommandLineMode = true;
    vx::State().RuntimeFolder = Folder();
    vx::SetConsoleSink([](bool, const std::string&) {});
    BuildDatabase("CLTDef.sql", vx::DefDatabasePath());
    BuildDatabase("ROPartsFileTemplate.sql", vx::TemplateDatabasePath());
    // The folder is removed when the fuzzer ends, whichever way it ends normally.
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(Folder(), ec);
    });
}

const std::string& ScratchFolder() { return Folder(); }

void ExecDef(const std::string& sql) { vx::Connection::Open(vx::DefDatabasePath())->Execute(sql); }

double ByteReader::Double()
{
    double d = 0;
    uint8_t bytes[sizeof d] = {};
    for (auto& b : bytes)
        b = Byte();
    std::memcpy(&d, bytes, sizeof d);
    return d;
}

std::string ByteReader::Field()
{
    std::string text;
    while (m_pos < m_size && m_data[m_pos] != 0)
        text += static_cast<char>(m_data[m_pos++]);
    if (m_pos < m_size)
        ++m_pos;
    return text;
}

std::string ByteReader::Rest()
{
    std::string text(reinterpret_cast<const char*>(m_data) + m_pos, m_size - m_pos);
    m_pos = m_size;
    return text;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "FUZZ INVARIANT BROKEN: %s\n", what.c_str());
    std::abort();
}

} // namespace vxfuzz
