#include "parts/PartLabels.h"

#include "base/NumberText.h"
#include "config/TableStore.h"

#include <algorithm>

namespace vx {

ProcessByPart ReadProcessByPart(Connection& def)
{
    ProcessByPart out;
    Statement st = def.Prepare("SELECT c.Part, p.Description FROM tblPartsCriteria c "
                               "JOIN tblProcesses p ON p.AutoID = c.Process");
    while (st.Step())
        out[UpperCase(TrimBlanks(st.ColumnText(0)))] = st.ColumnText(1);
    return out;
}

std::vector<PartLabel> CollectPartLabels(const RecordSet& parts, const std::vector<int>& rows, bool perUnit,
                                         const std::string& fileTitle, const ProcessByPart& processes)
{
    std::vector<int> chosen = rows;
    if (chosen.empty())
        for (int r = 0; r < parts.RecordCount(); ++r)
            chosen.push_back(r);
    std::vector<PartLabel> labels;
    labels.reserve(chosen.size());
    for (int row : chosen) {
        PartLabel label;
        label.part = ReadPartSketch(parts, row);
        auto process = processes.find(UpperCase(TrimBlanks(label.part.part)));
        if (process != processes.end())
            label.process = process->second;
        label.fileTitle = fileTitle;
        label.copies = perUnit ? std::max(1, label.part.quantity) : 1;
        labels.push_back(std::move(label));
    }
    return labels;
}

long long LabelCount(const std::vector<PartLabel>& labels)
{
    long long count = 0;
    for (const PartLabel& label : labels)
        count += label.copies;
    return count;
}

} // namespace vx
