#pragma once
// The command-line conversion: argument parsing, usage text, the conversion driver and
// its exit codes (0 success .. 6 unexpected error).
#include "base/ExitCodes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// The options of one command-line run; all reset when parsing starts.
struct CommandLineOptions {
    std::string ArgInputPath;
    std::string ArgOutputPath;
    std::string ArgLogPath;
    int32_t ArgSkipLines = 0;
    bool ArgSkipGiven = false;
    int32_t ArgUnits = 0; // a ConvertLengthType code
    bool ArgUnitsGiven = false;
    bool ArgAllowBad = false;
    bool ArgHelp = false;
    bool ArgCheck = false;         // /check: the input is read and checked, nothing is written
    std::string ArgWatchFolder;    // /watch: the hot folder (ArgOutputPath is then a folder)
    bool ArgOnce = false;          // /once: the files there now, then the end
    double ArgSettleSeconds = 2.0; // /settle: how long a file must stay unchanged
    bool ArgSettleGiven = false;
};

// The options as the last ParseArguments left them.
CommandLineOptions& CommandLineArgs();

// Parses the arguments (argv[1..]), runs help or one conversion and returns the exit code.
// The caller (Main) ends the process with it. Never creates a QApplication.
int RunCommandLine(int argc, char** argv);

// The arguments arrive already split: every argv element after the program name is one
// token, blanks and all. Returns the number of tokens.
int SplitCommandLine(int argc, char** argv, std::vector<std::string>& tokens);

// A token of at least two characters that begins with "/" (and whose switch name holds no
// "/", so absolute paths stay positional) or with "-" and is not a number.
bool IsSwitch(const std::string& token);

// Fetches a required switch value: the inline value when there is one (refused when empty),
// else the next token whatever it looks like (index advances). On failure sets errorText to
// shownName + " needs a value." and returns false.
bool GetSwitchValue(const std::vector<std::string>& tokens, int count, int& index, bool hasInline, std::string& value,
                    const std::string& shownName, std::string& errorText);

// Fills CommandLineArgs() from the tokens; stops at the first error, returning false with
// errorText set. The /log path takes effect as soon as it is parsed. A /skip value too
// large for a whole number raises the overflow error.
bool ParseArguments(const std::vector<std::string>& tokens, std::string& errorText);

// Writes the usage text to standard output.
void ShowUsage();

// Runs one conversion (or with ArgCheck its check) with the parsed options and returns its
// exit code.
int RunConversion();

// What is wrong with the /log file, if anything: it must be none of the files the run reads
// or writes, and it must open for appending. Checked before any line is written to it.
std::optional<std::string> LogFileProblem(const CommandLineOptions& args);

// Copies the error log's non-blank lines to standard error (two-blank indent) and clears it.
void ReportErrorLog();

// "in2mm (inches to millimetres)", "mm2in (millimetres to inches)" or "none".
std::string UnitsDescription(int32_t code);

} // namespace vx
