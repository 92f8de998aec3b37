#pragma once
// The labels of a parts file: what each printed label says, and how many of each.
#include "convert/PartSketch.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vx {

class Connection;
class RecordSet;

struct PartLabel {
    PartSketch part;
    std::string process;   // the description of the part's process, "" when it has none
    std::string fileTitle; // the parts file's name
    int copies = 1;
};

// Process descriptions by part name (upper case), from the part criteria of the
// configuration database.
using ProcessByPart = std::map<std::string, std::string>;
ProcessByPart ReadProcessByPart(Connection& def);

// One label entry per parts row (rows are 0-based record-set rows, all rows when empty).
// With perUnit each entry is printed once per unit of its quantity; a row whose quantity is
// below 1 still gets one label, so no row of the file goes unlabelled.
std::vector<PartLabel> CollectPartLabels(const RecordSet& parts, const std::vector<int>& rows, bool perUnit,
                                         const std::string& fileTitle, const ProcessByPart& processes);
// The number of labels the entries print.
long long LabelCount(const std::vector<PartLabel>& labels);

} // namespace vx
