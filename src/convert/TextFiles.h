#pragma once
// Reading text files in large blocks: one system call per block, never per line.
#include "convert/TextEncoding.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

inline constexpr size_t kTextBlockSize = size_t(4) << 20;

// A block of bytes that starts undefined: a large block is never zeroed, so only the pages a
// read fills are ever touched (a short file costs no page faults for the rest of the block).
class ByteBuffer {
public:
    explicit ByteBuffer(size_t size = 0) : m_data(size ? new char[size] : nullptr), m_size(size) {}
    char* data() { return m_data.get(); }
    const char* data() const { return m_data.get(); }
    size_t size() const { return m_size; }
    char& operator[](size_t i) { return m_data[i]; }
    // Makes room for size bytes (never less), keeping the first keep bytes.
    void grow(size_t size, size_t keep);

private:
    std::unique_ptr<char[]> m_data;
    size_t m_size;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file or throws "File not found" / "Permission denied".
FilePtr OpenFile(const std::string& path, const char* mode);

// The lines of a file. A line ends at CR LF, LF or CR wherever it occurs, whatever the
// file's first line end was. The text comes as UTF-8 whatever the file's encoding (decided
// once, DetectTextEncoding); a byte-order mark before the first line is not part of it.
class LineSource {
public:
    explicit LineSource(const std::string& path);
    // The next line (valid until the next call); false at the end.
    bool Next(std::string_view& line);
    // Bytes of the file taken up to the current line (of a decoded file: up to the block read).
    int64_t Consumed() const
    {
        return m_encoding == TextEncoding::Utf8 ? m_consumed - static_cast<int64_t>(m_end - m_begin) : m_consumed;
    }
    TextEncoding Encoding() const { return m_encoding; }
    // Once the end is reached: true when UTF-16 text ended in an odd byte or a lone high
    // surrogate, which was left out.
    bool DroppedFragment() const { return m_droppedFragment; }

private:
    void Fill();
    void FillDecoded();
    void ThrowOnReadFailure();

    TextEncoding m_encoding;
    TextDecoder m_decoder;
    FilePtr m_file;
    ByteBuffer m_buf, m_raw;
    std::string m_decoded;
    size_t m_begin = 0, m_end = 0;
    // Where the next line feed is (m_end: none before it), while the block stays in place:
    // a file of bare carriage returns is then not searched to its end once per line.
    size_t m_nextLineFeed = 0;
    bool m_lineFeedKnown = false;
    int64_t m_consumed = 0;
    bool m_eof = false, m_skipLineFeed = false, m_droppedFragment = false;
};

// The warning given when a file's last bytes were no whole character.
std::string DroppedFragmentWarning(const std::string& path);

} // namespace vx
