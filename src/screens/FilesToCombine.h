#pragma once
// The combine screen's list of parts files and the combining of them into one new parts file.
#include "config/Progress.h"
#include "config/TableStore.h"

#include <string>
#include <vector>

namespace vx {

class FilesToCombine {
public:
    FilesToCombine();

    // The list as its grid shows it: one row per file, column "FILE NAME" holds the full path.
    RecordSet& rs() { return m_rs; }
    std::vector<std::string> Paths() const;

    // Appends the path unless it is listed already (exact comparison: letter case counts);
    // returns whether it was listed already.
    bool AddAFile(const std::string& path);
    // Adds chosen or dropped files in order: a program database is refused by name and a file
    // already listed is reported by name; the other files are still added.
    void AddFiles(const std::vector<std::string>& paths);
    // Removes the rows at the given 0-based indexes from the list.
    void RemoveFiles(const std::vector<int>& indexes);
    void ClearFileList();

    // Combines the listed files, in list order, into target with the labels of the current
    // mapping and reports "... has been created."; only then is the list emptied. A program
    // database as target is refused. A failure is reported with the standard error message;
    // nothing is written, an existing target stays as it was and the list is kept, so the
    // operator can take the bad file out and try again. Returns whether the file was made.
    bool CombineTheFiles(const std::string& target, Progress& progress);

private:
    RecordSet m_rs;
};

} // namespace vx
