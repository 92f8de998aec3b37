#pragma once
// The one message routine and the console line writers.
//
// Windowed mode hands each message to an installed presenter (a message box in the
// windowed program, a scripted one in tests). Command-line mode writes the message to
// standard error, marks ErrorReported and returns the cautious default answer.
#include <functional>
#include <string>

namespace vx {

// Message-box styles: low three bits the buttons, higher bits the icon.
enum MessageStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbYesNoToAll = 6, // Yes, No, Yes to All, No to All
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum MessageAnswer : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
    vbYesToAll = 8,
    vbNoToAll = 9
};

using MessagePresenter = std::function<int(const std::string& prompt, int style, const std::string& title)>;

// Installs the windowed presenter; returns the previous one.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

int ShowMessage(const std::string& prompt, int style = vbOKOnly, const std::string& title = "");

// The answer command-line mode gives for a style's button set.
int DefaultAnswer(int style);

// Writes one line to standard output / standard error, and to the log file when set.
void WriteStdOut(const std::string& text);
void WriteStdErr(const std::string& text);

// The console transcript file (/log); empty means none.
void SetLogPath(const std::string& path);
const std::string& LogPath();

// Redirects the console writers (tests capture lines without touching the real streams).
using LineSink = std::function<void(bool toStdErr, const std::string& line)>;
LineSink SetConsoleSink(LineSink sink);

} // namespace vx
