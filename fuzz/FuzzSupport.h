#pragma once
// Shared set-up of the fuzzers: a private runtime folder with databases made from the
// factory SQL text, console lines swallowed, and a small reader of the fuzzer's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vxfuzz {

// Once per process: command-line mode, a temporary runtime folder holding CLTDef.mdb and
// ROPartsFileTemplate.mdb built from data/*.sql, and a console sink that drops every line.
void SetUpRuntimeOnce();
// The temporary folder of SetUpRuntimeOnce (scratch files go here).
const std::string& ScratchFolder();

// Runs SQL against the runtime CLTDef.mdb.
void ExecDef(const std::string& sql);

// Reads the fuzzer's bytes front to back; past the end every read gives zero / empty.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    double Double();
    // Text up to the next NUL byte (the NUL is consumed).
    std::string Field();
    // Everything not read yet.
    std::string Rest();
    bool AtEnd() const { return m_pos >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Stops the fuzzer with a finding when an invariant does not hold.
[[noreturn]] void Fail(const std::string& what);
inline void Require(bool condition, const std::string& what)
{
    if (!condition)
        Fail(what);
}

} // namespace vxfuzz
