// ParseArguments on arbitrary token lists (tokens separated by NUL bytes): it either fills
// the options (an input, a watched folder or help) or names the first error; it never
// crashes, and only a /skip value beyond 32 bits may raise (the overflow error the driver
// turns into exit code 6).
#include "FuzzSupport.h"

#include "base/Messages.h"
#include "base/VxError.h"
#include "start/modCLTCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vxfuzz::ByteReader bytes(data, size);
    std::vector<std::string> tokens;
    while (!bytes.AtEnd() && tokens.size() < 64)
        tokens.push_back(bytes.Field());
    for (const std::string& t : tokens)
        vx::IsSwitch(t);

    std::string error;
    bool ok = false;
    try {
        ok = vx::ParseArguments(tokens, error);
    } catch (const vx::VxError& e) {
        vxfuzz::Require(e.number() == vx::kErrOverflow, "ParseArguments raised error " + std::to_string(e.number()));
        vx::SetLogPath("");
        return 0;
    }
    vx::SetLogPath(""); // a parsed /log path must not receive anything from the fuzzer
    const vx::CommandLineOptions& args = vx::CommandLineArgs();
    if (ok) {
        vxfuzz::Require(error.empty(), "success with an error text");
        vxfuzz::Require(args.ArgHelp || !args.ArgInputPath.empty() || !args.ArgWatchFolder.empty(),
                        "success without input, folder or help");
        vxfuzz::Require(args.ArgSkipLines >= 0, "negative skip accepted");
        vxfuzz::Require(args.ArgUnits >= 0 && args.ArgUnits <= 2, "units code out of range");
    } else {
        vxfuzz::Require(!error.empty(), "failure without an error text");
    }
    return 0;
}
