#pragma once
// The text encoding of an operator's file, decided once before it is read: a UTF-16 byte-
// order mark means UTF-16, valid UTF-8 (with or without its mark) means UTF-8, anything
// else is read as Windows-1252, what older Windows shop tools write. Every text the
// program takes from such a file is handed on as UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace vx {

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

// The encoding a UTF-16 mark at the start of these bytes names, or Utf8 without one.
TextEncoding MarkedEncoding(std::string_view firstBytes);
inline bool IsUtf16(TextEncoding e) { return e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE; }

// Reads the file once. Raises the file errors of OpenFile.
TextEncoding DetectTextEncoding(const std::string& path);

// Checks UTF-8 piece by piece, a sequence may be split between pieces.
class Utf8Check {
public:
    void Feed(std::string_view bytes);
    // True when everything fed so far, taken as the whole text, is valid UTF-8.
    bool Valid() const { return m_valid && m_pending == 0; }
    // True once a byte proved the text is not UTF-8, whatever follows.
    bool Broken() const { return !m_valid; }

private:
    bool m_valid = true;
    int m_pending = 0;                         // continuation bytes still expected
    unsigned char m_low = 0x80, m_high = 0xBF; // range of the next continuation byte
};

// Decodes a file's bytes, block by block, into UTF-8 appended to out. A UTF-16 unit or
// surrogate pair split between blocks is carried over; broken UTF-16 becomes U+FFFD.
class TextDecoder {
public:
    explicit TextDecoder(TextEncoding encoding) : m_encoding(encoding) {}
    void Decode(const char* bytes, size_t count, std::string& out);
    // Ends the text: an odd byte or a lone high surrogate left over is no character and is
    // dropped. True when such a fragment was dropped.
    bool Finish();

private:
    void Unit(unsigned unit, std::string& out);

    TextEncoding m_encoding;
    int m_carry = -1;    // a byte of a UTF-16 unit waiting for its partner
    unsigned m_high = 0; // a high surrogate waiting for its low half
};

// Appends a code point as UTF-8.
void AppendUtf8(char32_t code, std::string& out);

} // namespace vx
