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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file or throws "File not found" / "Permission denied".
FilePtr OpenFile(const std::string& path, const char* mode);

// The lines of a file. A line ends at a carriage return, with or without a line feed
// after it; a line feed alone stays inside the line unless lineFeedEndsLine is set (a file
// with bare line feeds read as it is). The text comes as UTF-8 whatever the file's
// encoding (decided once, DetectTextEncoding); a byte-order mark before the first line is
// not part of it.
class LineSource {
public:
    explicit LineSource(const std::string& path, bool lineFeedEndsLine = false);
    // The next line (valid until the next call); false at the end.
    bool Next(std::string_view& line);
    // Bytes of the file taken up to the current line (of a decoded file: up to the block read).
    int64_t Consumed() const
    {
        return m_encoding == TextEncoding::Utf8 ? m_consumed - static_cast<int64_t>(m_end - m_begin) : m_consumed;
    }
    TextEncoding Encoding() const { return m_encoding; }

private:
    void Fill();
    void FillDecoded();
    void ThrowOnReadFailure();

    TextEncoding m_encoding;
    TextDecoder m_decoder;
    FilePtr m_file;
    std::vector<char> m_buf, m_raw;
    std::string m_decoded;
    size_t m_begin = 0, m_end = 0;
    int64_t m_consumed = 0;
    bool m_eof = false, m_skipLineFeed = false, m_lineFeedEndsLine;
};

} // namespace vx
