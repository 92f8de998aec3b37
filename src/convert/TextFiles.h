#pragma once
// Reading text files in large blocks: one system call per block, never per line.
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
// after it; a line feed alone stays inside the line. With lineFeedEnds (a file that holds
// no carriage return at all) a line ends at each line feed instead.
class LineSource {
public:
    explicit LineSource(const std::string& path, bool lineFeedEnds = false);
    // The next line (valid until the next call); false at the end.
    bool Next(std::string_view& line);
    // Bytes of the file taken up to the current line.
    int64_t Consumed() const { return m_consumed - static_cast<int64_t>(m_end - m_begin); }

private:
    void Fill();

    FilePtr m_file;
    std::vector<char> m_buf;
    size_t m_begin = 0, m_end = 0;
    int64_t m_consumed = 0;
    char m_lineEnd;
    bool m_eof = false, m_skipLineFeed = false;
};

} // namespace vx
