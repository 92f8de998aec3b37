#include "convert/TextEncoding.h"

#include "convert/TextFiles.h"

#include <vector>

namespace vx {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; the five bytes the code page leaves open keep their C1 code.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

TextEncoding MarkedEncoding(std::string_view firstBytes)
{
    if (firstBytes.size() >= 2) {
        if (firstBytes[0] == '\xFF' && firstBytes[1] == '\xFE')
            return TextEncoding::Utf16LE;
        if (firstBytes[0] == '\xFE' && firstBytes[1] == '\xFF')
            return TextEncoding::Utf16BE;
    }
    return TextEncoding::Utf8;
}

TextEncoding DetectTextEncoding(const std::string& path)
{
    FilePtr in = OpenFile(path, "rb");
    ByteBuffer buf(kTextBlockSize);
    Utf8Check check;
    bool first = true;
    size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), in.get())) > 0) {
        if (first) {
            TextEncoding marked = MarkedEncoding(std::string_view(buf.data(), got));
            if (IsUtf16(marked))
                return marked;
            first = false;
        }
        check.Feed(std::string_view(buf.data(), got));
        if (check.Broken())
            return TextEncoding::Windows1252;
    }
    return check.Valid() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

void Utf8Check::Feed(std::string_view bytes)
{
    for (char ch : bytes) {
        if (!m_valid)
            return;
        const auto b = static_cast<unsigned char>(ch);
        if (m_pending > 0) {
            if (b < m_low || b > m_high) {
                m_valid = false;
                return;
            }
            --m_pending;
            m_low = 0x80, m_high = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        // Lead bytes, with the range of the first continuation byte that refuses overlong
        // forms, surrogates and code points beyond U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF)
            m_pending = 1;
        else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            if (b == 0xE0)
                m_low = 0xA0;
            else if (b == 0xED)
                m_high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            if (b == 0xF0)
                m_low = 0x90;
            else if (b == 0xF4)
                m_high = 0x8F;
        } else
            m_valid = false;
    }
}

void AppendUtf8(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

void TextDecoder::Unit(unsigned unit, std::string& out)
{
    if (m_high) {
        const unsigned high = m_high;
        m_high = 0;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), out);
            return;
        }
        AppendUtf8(kReplacement, out);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF)
        m_high = unit;
    else if (unit >= 0xDC00 && unit <= 0xDFFF)
        AppendUtf8(kReplacement, out);
    else
        AppendUtf8(unit, out);
}

void TextDecoder::Decode(const char* bytes, size_t count, std::string& out)
{
    if (m_encoding == TextEncoding::Utf8) {
        out.append(bytes, count);
        return;
    }
    if (m_encoding == TextEncoding::Windows1252) {
        for (size_t i = 0; i < count; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x80)
                out.push_back(static_cast<char>(b));
            else
                AppendUtf8(b < 0xA0 ? kCp1252High[b - 0x80] : b, out);
        }
        return;
    }
    const bool little = m_encoding == TextEncoding::Utf16LE;
    for (size_t i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (m_carry < 0) {
            m_carry = b;
            continue;
        }
        const unsigned unit =
            little ? (b << 8) | static_cast<unsigned>(m_carry) : (static_cast<unsigned>(m_carry) << 8) | b;
        m_carry = -1;
        Unit(unit, out);
    }
}

bool TextDecoder::Finish()
{
    const bool fragment = m_high || m_carry >= 0;
    m_high = 0;
    m_carry = -1;
    return fragment;
}

} // namespace vx
