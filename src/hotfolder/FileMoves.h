#pragma once
// Moving a hot folder's files into done/ and failed/ without ever replacing a file there: a
// name already taken gets a number, "job (2).csv", "job (3).csv" ...
#include <string>

namespace vx {

// The n-th name for a file: n = 1 the name itself, else "<stem> (<n>)<extension>".
std::string NumberedName(const std::string& name, int n);

// Puts the file from at the path to in one step; false (nothing moved) when to exists.
// Throws VxError when the move fails otherwise.
bool PlaceWithoutReplacing(const std::string& from, const std::string& to);

// Moves source into folder under the first free numbered name; returns the new path.
std::string MoveIntoFolder(const std::string& source, const std::string& folder);

// Moves source into folder as MoveIntoFolder does, with "<new name>.log" holding logText
// beside it; the log is in place before the source moves, so a source there always has its
// log. Returns the source's new path.
std::string MoveIntoFolderWithLog(const std::string& source, const std::string& folder, const std::string& logText);

} // namespace vx
