#pragma once
// Scribe lists: incremental positions of scribe marks along a part, separated by "|".
#include "convert/PositionLists.h"

#include <string>

namespace vx {

// The list check of the "Check Scribes" button; errorFlag true and errorText set when wrong.
void CheckScribeList(const std::string& list, bool& errorFlag, std::string& errorText, double partLength);
// The absolute scribe positions of a list, with the list check's message when it is wrong.
AbsolutePositions ScribePositions(const std::string& list, double partLength);

// Drops a final scribe that ends within 0.3 of the part's end (or beyond it).
std::string CheckForRemoveEndScribe(const std::string& list, double length);
// Adds the distance from the last scribe to the part's end as a final entry.
std::string CheckForAddEndScribe(const std::string& list, double length);
// The entries in reverse order.
std::string ReverseTheScribes(const std::string& CurrentScribes);
// Mirrors a list about the part's middle: add end scribe, reverse, remove end scribe.
std::string MirrorScribes(const std::string& list, double length);

// Length conversion of a list: numeric entries > 0 multiplied and rounded (half to even);
// everything else dropped.
std::string ConvertScribeUnits(const std::string& list, double factor, int places);
// Drops zero entries from a list of more than one entry.
std::string RemoveZeros(const std::string& tmpstr);

// The criteria's treatment of one row's scribes: zero entries and a final end scribe are
// dropped, and the list is mirrored when the wanted orientation differs from the row's.
// Returns the text to store (the original text when nothing changed); reversed receives
// the row's orientation afterwards.
std::string ApplyScribeCriteria(const std::string& scribes, double length, bool reverseWanted, bool& reversed);

} // namespace vx
