#include "convert/TextFiles.h"

#include "config/VxError.h"

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace vx {

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

LineSource::LineSource(const std::string& path, bool lineFeedEnds)
    : m_file(OpenFile(path, "rb")), m_buf(kTextBlockSize), m_lineEnd(lineFeedEnds ? '\n' : '\r')
{}

bool LineSource::Next(std::string_view& line)
{
    while (true) {
        if (m_skipLineFeed && m_begin < m_end) {
            if (m_buf[m_begin] == '\n')
                ++m_begin;
            m_skipLineFeed = false;
        }
        const char* base = m_buf.data();
        if (const void* end = std::memchr(base + m_begin, m_lineEnd, m_end - m_begin)) {
            size_t pos = static_cast<size_t>(static_cast<const char*>(end) - base);
            line = std::string_view(base + m_begin, pos - m_begin);
            m_begin = pos + 1;
            m_skipLineFeed = m_lineEnd == '\r';
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

void LineSource::Fill()
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
    // A UTF-8 byte-order mark that some programs put before the first field is not text:
    // it would otherwise become part of the first column's value.
    if (m_consumed == 0 && got >= 3 && std::memcmp(m_buf.data(), "\xEF\xBB\xBF", 3) == 0)
        m_begin = 3;
    m_end += got;
    m_consumed += static_cast<int64_t>(got);
}

} // namespace vx
