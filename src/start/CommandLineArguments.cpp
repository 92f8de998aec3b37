// Parsing of the command-line conversion's arguments.
#include "base/Messages.h"
#include "base/NumberText.h"
#include "start/modCLTCommandLine.h"

#include <cmath>

namespace vx {

namespace {

// A switch token taken apart: the name after the prefix and before the first ":" or "=",
// and the inline value after that separator.
struct SwitchParts {
    std::string name;
    bool hasInline = false;
    std::string inlineValue;
};

SwitchParts SplitSwitch(const std::string& token)
{
    size_t prefix = token.rfind("--", 0) == 0 ? 2 : 1;
    std::string rest = token.substr(prefix);
    size_t sep = rest.find_first_of(":=");
    SwitchParts parts;
    if (sep == std::string::npos) {
        parts.name = rest;
    } else {
        parts.name = rest.substr(0, sep);
        parts.hasInline = true;
        parts.inlineValue = rest.substr(sep + 1);
    }
    return parts;
}

bool NameIsOneOf(const std::string& name, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (name == n)
            return true;
    return false;
}

// The /skip value: a number, at least 0, without a fractional part.
bool ParseSkipValue(const std::string& value, std::string& errorText)
{
    auto number = ParseNumber(value);
    if (!number) {
        errorText = "/skip needs a whole number of lines, got '" + value + "'.";
        return false;
    }
    if (*number < 0 || std::floor(*number) != *number) {
        errorText = "/skip needs a whole number of lines >= 0, got '" + value + "'.";
        return false;
    }
    CommandLineArgs().ArgSkipLines = RoundToLong(*number); // overflow error beyond 32 bits
    CommandLineArgs().ArgSkipGiven = true;
    return true;
}

bool ParseUnitsValue(const std::string& value, std::string& errorText)
{
    std::string lower = LowerCase(value);
    int32_t code;
    if (lower == "none" || lower == "0")
        code = 0;
    else if (lower == "in2mm" || lower == "1")
        code = 1;
    else if (lower == "mm2in" || lower == "2")
        code = 2;
    else {
        errorText = "/units must be none, in2mm or mm2in, got '" + value + "'.";
        return false;
    }
    CommandLineArgs().ArgUnits = code;
    CommandLineArgs().ArgUnitsGiven = true;
    return true;
}

// The /settle value: a number of seconds, at least 0 and at most a day.
bool ParseSettleValue(const std::string& value, std::string& errorText)
{
    auto number = ParseNumber(value);
    if (!number || *number < 0 || *number > 86400) {
        errorText = "/settle needs a number of seconds from 0 to 86400, got '" + value + "'.";
        return false;
    }
    CommandLineArgs().ArgSettleSeconds = *number;
    CommandLineArgs().ArgSettleGiven = true;
    return true;
}

// The switches of a check and of a hot folder that do not go together.
bool CheckCombinations(const CommandLineOptions& args, std::string& errorText)
{
    if (args.ArgWatchFolder.empty()) {
        if (args.ArgOnce || args.ArgSettleGiven)
            errorText = std::string(args.ArgOnce ? "/once" : "/settle") + " is used with /watch <folder>.";
    } else if (args.ArgCheck) {
        errorText = "/check and /watch cannot be used together.";
    } else if (!args.ArgInputPath.empty()) {
        errorText = "/watch converts the cut lists of its folder; unexpected input file '" + args.ArgInputPath + "'.";
    }
    return errorText.empty();
}

} // namespace

CommandLineOptions& CommandLineArgs()
{
    static CommandLineOptions options;
    return options;
}

int SplitCommandLine(int argc, char** argv, std::vector<std::string>& tokens)
{
    tokens.clear();
    for (int i = 1; i < argc; ++i)
        tokens.emplace_back(argv[i]);
    return static_cast<int>(tokens.size());
}

bool IsSwitch(const std::string& token)
{
    if (token.size() < 2)
        return false;
    if (token[0] == '/')
        return SplitSwitch(token).name.find('/') == std::string::npos;
    return token[0] == '-' && !IsNumeric(token);
}

bool GetSwitchValue(const std::vector<std::string>& tokens, int count, int& index, bool hasInline, std::string& value,
                    const std::string& shownName, std::string& errorText)
{
    if (hasInline) {
        if (!value.empty())
            return true;
    } else if (index + 1 < count) {
        ++index;
        value = tokens[static_cast<size_t>(index)];
        return true;
    }
    errorText = shownName + " needs a value.";
    return false;
}

bool ParseArguments(const std::vector<std::string>& tokens, std::string& errorText)
{
    CommandLineOptions& args = CommandLineArgs();
    args = CommandLineOptions{};
    SetLogPath("");
    errorText.clear();
    const int count = static_cast<int>(tokens.size());

    for (int i = 0; i < count; ++i) {
        const std::string& token = tokens[static_cast<size_t>(i)];
        if (!IsSwitch(token)) {
            if (args.ArgInputPath.empty())
                args.ArgInputPath = token;
            else if (args.ArgOutputPath.empty())
                args.ArgOutputPath = token;
            else {
                errorText = "Unexpected argument '" + token + "'.";
                return false;
            }
            continue;
        }

        SwitchParts parts = SplitSwitch(token);
        std::string name = LowerCase(parts.name);
        std::string value = parts.inlineValue;
        auto fetch = [&](const char* shownName) {
            return GetSwitchValue(tokens, count, i, parts.hasInline, value, shownName, errorText);
        };

        if (NameIsOneOf(name, {"?", "h", "help"})) {
            args.ArgHelp = true;
        } else if (NameIsOneOf(name, {"in", "i", "input"})) {
            if (!fetch("/in"))
                return false;
            args.ArgInputPath = value;
        } else if (NameIsOneOf(name, {"out", "o", "output"})) {
            if (!fetch("/out"))
                return false;
            args.ArgOutputPath = value;
        } else if (NameIsOneOf(name, {"skip", "s"})) {
            if (!fetch("/skip") || !ParseSkipValue(value, errorText))
                return false;
        } else if (NameIsOneOf(name, {"units", "u"})) {
            if (!fetch("/units") || !ParseUnitsValue(value, errorText))
                return false;
        } else if (NameIsOneOf(name, {"allowbad", "allow-bad", "continue"})) {
            args.ArgAllowBad = true;
        } else if (name == "check") {
            if (!fetch("/check"))
                return false;
            args.ArgInputPath = value;
            args.ArgCheck = true;
        } else if (name == "watch") {
            if (!fetch("/watch"))
                return false;
            args.ArgWatchFolder = value;
        } else if (name == "once") {
            args.ArgOnce = true;
        } else if (name == "settle") {
            if (!fetch("/settle") || !ParseSettleValue(value, errorText))
                return false;
        } else if (NameIsOneOf(name, {"log", "l"})) {
            if (!fetch("/log"))
                return false;
            args.ArgLogPath = value;
            SetLogPath(value); // every later line, error lines included, goes to the log too
        } else {
            errorText = "Unknown switch '" + token + "'.";
            return false;
        }
    }

    if (!CheckCombinations(args, errorText))
        return false;
    if (args.ArgHelp || !args.ArgInputPath.empty() || !args.ArgWatchFolder.empty())
        return true;
    errorText = "No input file given. Use /in <file.csv>.";
    return false;
}

std::string UnitsDescription(int32_t code)
{
    switch (code) {
    case 1: return "in2mm (inches to millimetres)";
    case 2: return "mm2in (millimetres to inches)";
    default: return "none";
    }
}

} // namespace vx
