#include "convert/TextFiles.h"

#include "base/NumberText.h"
#include "base/VxError.h"

#include <algorithm>
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

void ByteBuffer::grow(size_t size, size_t keep)
{
    if (size <= m_size)
        return;
    std::unique_ptr<char[]> bigger(new char[size]);
    if (m_data)
        std::memcpy(bigger.get(), m_data.get(), std::min(keep, m_size));
    m_data = std::move(bigger);
    m_size = size;
}

LineSource::LineSource(const std::string& path)
    : m_encoding(DetectTextEncoding(path)), m_decoder(m_encoding), m_file(OpenFile(path, "rb")), m_buf(kTextBlockSize)
{
    if (m_encoding != TextEncoding::Utf8)
        m_raw = ByteBuffer(kTextBlockSize);
}

bool LineSource::Next(std::string_view& line)
{
    while (true) {
        if (m_skipLineFeed && m_begin < m_end) {
            if (m_buf[m_begin] == '\n')
                ++m_begin;
            m_skipLineFeed = false;
        }
        const char* base = m_buf.data();
        if (!m_lineFeedKnown || m_nextLineFeed < m_begin) {
            const void* lf = std::memchr(base + m_begin, '\n', m_end - m_begin);
            m_nextLineFeed = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : m_end;
            m_lineFeedKnown = true;
        }
        const void* cr = std::memchr(base + m_begin, '\r', m_nextLineFeed - m_begin);
        const size_t pos = cr ? static_cast<size_t>(static_cast<const char*>(cr) - base) : m_nextLineFeed;
        if (pos < m_end) {
            line = std::string_view(base + m_begin, pos - m_begin);
            m_begin = pos + 1;
            m_skipLineFeed = cr != nullptr;
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
    m_lineFeedKnown = false;
    std::memmove(m_buf.data(), m_buf.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
    if (m_encoding != TextEncoding::Utf8) {
        FillDecoded();
        return;
    }
    if (m_end == m_buf.size())
        m_buf.grow(m_buf.size() * 2, m_end); // a line longer than a block
    size_t got = std::fread(m_buf.data() + m_end, 1, m_buf.size() - m_end, m_file.get());
    if (got == 0) {
        ThrowOnReadFailure();
        m_eof = true;
    }
    // A UTF-8 byte-order mark that some programs put before the first field is not text:
    // it would otherwise become part of the first column's value.
    if (m_consumed == 0 && got >= 3 && std::memcmp(m_buf.data(), "\xEF\xBB\xBF", 3) == 0)
        m_begin = 3;
    m_end += got;
    m_consumed += static_cast<int64_t>(got);
}

void LineSource::FillDecoded()
{
    size_t got = std::fread(m_raw.data(), 1, m_raw.size(), m_file.get());
    m_decoded.clear();
    if (got == 0) {
        ThrowOnReadFailure();
        m_droppedFragment = m_decoder.Finish();
        m_eof = true;
    } else {
        const size_t mark = m_consumed == 0 && IsUtf16(m_encoding) ? 2 : 0;
        m_decoder.Decode(m_raw.data() + mark, got - mark, m_decoded);
    }
    m_consumed += static_cast<int64_t>(got);
    if (m_buf.size() < m_end + m_decoded.size())
        m_buf.grow(m_end + m_decoded.size(), m_end);
    std::memcpy(m_buf.data() + m_end, m_decoded.data(), m_decoded.size());
    m_end += m_decoded.size();
}

void LineSource::ThrowOnReadFailure()
{
    if (std::ferror(m_file.get()))
        throw VxError(kErrPathNotFound, "Input past end of file or read failure", "PartsFileReader");
}

std::string DroppedFragmentWarning(const std::string& path)
{
    return "WARNING: The file " + EscapeControlCharacters(path) +
           " ends in an incomplete UTF-16 character (an odd byte or half a surrogate pair); it was left out.";
}

} // namespace vx
