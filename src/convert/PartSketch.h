#pragma once
// What a drawing of one part shows: its name, sizes and flags, and its scribe and space-ball
// lists turned into absolute positions along the length with the list checks' verdicts.
// Read once from the row in hand, so drawing never goes back to the table.
#include "convert/PositionLists.h"

#include <string>

namespace vx {

class RecordSet;

struct PartSketch {
    std::string part;
    std::string material;
    std::string seqNum;
    int quantity = 1;
    double length = 0, width = 0, thickness = 0;
    bool panel = false, bGrade = false, pocketHoles = false;
    std::string scribes, spaceBalls; // the incremental lists as stored
};

// The marks of a part: positions as far as each list is valid, and each list's problem.
struct PartMarks {
    AbsolutePositions scribes;
    AbsolutePositions spaceBalls;
};
PartMarks PartMarkPositions(double length, const std::string& scribes, const std::string& spaceBalls);
inline PartMarks PartMarkPositions(const PartSketch& part)
{
    return PartMarkPositions(part.length, part.scribes, part.spaceBalls);
}

// One row (0-based) of a parts record set: the working table, a parts file or the manual
// list (column names ignore case; a missing column reads as empty, a text that is not a
// number as 0).
PartSketch ReadPartSketch(const RecordSet& rs, int row);

// "30.5 × 11.75" and " × 0.75" when the part has a thickness (always with one).
std::string PartSizeText(const PartSketch& part, bool alwaysThickness);
// The flags that are set, in the grid's words: "PANEL  B GRADE  POCKET HOLES".
std::string PartFlagsText(const PartSketch& part);

} // namespace vx
