#include "base/Messages.h"

#include "base/NumberText.h"
#include "base/ProgramState.h"

#include <cstdio>

namespace vx {

namespace {
MessagePresenter& Presenter()
{
    static MessagePresenter presenter;
    return presenter;
}
LineSink& Sink()
{
    static LineSink sink;
    return sink;
}
std::string& LogFile()
{
    static std::string path;
    return path;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
    return text;
}

void WriteLine(bool toStdErr, const std::string& raw)
{
    // A line may carry bytes of an operator's file: escape sequences must not reach the
    // terminal, and a NUL must not cut the line short.
    const std::string text = EscapeControlCharacters(raw);
    if (Sink()) {
        Sink()(toStdErr, text);
    } else {
        std::FILE* stream = toStdErr ? stderr : stdout;
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fputc('\n', stream);
        std::fflush(stream);
    }
    if (!LogFile().empty()) {
        if (std::FILE* log = std::fopen(LogFile().c_str(), "ab")) {
            std::fwrite(text.data(), 1, text.size(), log);
            std::fputs("\r\n", log);
            std::fclose(log);
        }
    }
}
} // namespace

MessagePresenter SetMessagePresenter(MessagePresenter presenter)
{
    std::swap(presenter, Presenter());
    return presenter;
}

LineSink SetConsoleSink(LineSink sink)
{
    std::swap(sink, Sink());
    return sink;
}

void SetLogPath(const std::string& path) { LogFile() = path; }
const std::string& LogPath() { return LogFile(); }

int DefaultAnswer(int style)
{
    switch (style & 7) {
    case vbOKCancel: return vbCancel;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel: return vbNo;
    case vbYesNo: return vbNo;
    case vbYesNoToAll: return vbNo;
    case vbRetryCancel: return vbCancel;
    default: return vbOK;
    }
}

int ShowMessage(const std::string& prompt, int style, const std::string& title)
{
    if (State().CommandLineMode || !Presenter()) {
        std::string line = Replace(Replace(prompt, "\r\n", " "), "\n", " ");
        if (!title.empty())
            line = title + ": " + line;
        WriteStdErr(line);
        State().ErrorReported = true;
        return DefaultAnswer(style);
    }
    return Presenter()(prompt, style, title);
}

void WriteStdOut(const std::string& text) { WriteLine(false, text); }
void WriteStdErr(const std::string& text) { WriteLine(true, text); }

} // namespace vx
