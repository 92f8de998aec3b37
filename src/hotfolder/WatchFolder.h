#pragma once
// The hot folder: every cut list that appears in a folder is converted, one at a time and
// oldest first, by the same conversion as a single file, and then moved to done/ (or, with
// its transcript, to failed/).
#include <optional>
#include <string>

namespace vx {

// The watch a run asked for (/watch, /out, /once, /settle).
struct WatchOptions {
    std::string folder;    // as given
    std::string outFolder; // empty: out/ in the watched folder
    bool once = false;     // the files there at the start, then the end
    double settleSeconds = 2.0;
};

// What the watch needs of the run that starts it: the conversion of one file, as a run
// converting only that file would do it.
class WatchConversions {
public:
    virtual ~WatchConversions() = default;
    // What is wrong with the run's /log file, if anything.
    virtual std::optional<std::string> LogFileProblem() = 0;
    // Converts the cut list into the parts file; the exit code a run converting just that
    // file would end with.
    virtual int Convert(const std::string& cutList, const std::string& partsFile) = 0;
};

// Watches options.folder until a signal ends it or, with once, until the files there at the
// start are dealt with. Returns the exit code: with once 0 when every file was converted, 4
// when any went to failed/; 2 when the configuration cannot convert (the file stays); 3 when
// the folder cannot be watched; 5 when an output folder is missing.
int RunWatch(const WatchOptions& options, WatchConversions& conversions);

} // namespace vx
