#pragma once
// Helpers of the robustness tests: cut lists in the factory layout, running VXCLT from any
// program folder or under a file-size limit, and reading what a run left behind.
#include "TestSupport.h"

#include <QProcess>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace vxtest {

// The factory mapping's layout: Seq, Part, Material, Thick, Width, Length, Qty, Scribes,
// Cabinet, Edge, with one header line.
inline const std::string kCutListHeader = "Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n";

// One line of the factory layout.
inline std::string CutLine(int seq, const std::string& part, const std::string& width = "12",
                           const std::string& quantity = "1")
{
    return std::to_string(seq) + "," + part + ",OAK,0.75," + width + ",30," + quantity + ",,C1,\r\n";
}

// A cut list of n parts named prefix + number.
inline std::string CutList(const std::string& prefix, int n)
{
    std::string text = kCutListHeader;
    for (int i = 1; i <= n; ++i)
        text += CutLine(i, prefix + std::to_string(i));
    return text;
}

// Runs VXCLT with files limited to limitKiB (a disk that fills up); the signal a process
// gets at the limit is ignored, so writes fail with an error the program must handle.
inline RunResult RunVxcltWithFileLimit(const std::vector<std::string>& args, const std::string& xdgHome, int limitKiB)
{
    std::vector<std::string> shellArgs = {
        "-c", "trap '' XFSZ; ulimit -f " + std::to_string(limitKiB) + "; exec \"$0\" \"$@\"", BinDir() + "/VXCLT"};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return RunProgram("/bin/bash", shellArgs, xdgHome);
}

// Sets or clears the immutable attribute: even root cannot change, replace or add to an
// immutable file or folder. False when the file system does not support it.
inline bool SetImmutable(const std::string& path, bool on)
{
    return QProcess::execute("chattr", {on ? "+i" : "-i", QString::fromStdString(path)}) == 0;
}

} // namespace vxtest
