#pragma once
// The conversion's completeness rule on the saved mapping: every required field of
// tblPartsFileMapping must have a column (PF_Col >= 1), or be given by a mapped DIMENSIONS
// cell that no column of its own contradicts, before a conversion may run.
namespace vx {

class ConversionSession;

// Clears the error log and fills it with a heading and one entry per required field that
// has no column; does not show it (the caller decides). A check that cannot read the table
// reports the failure and sets IsError, so it never passes an unread mapping.
void CheckForValidMapping(bool& IsError);

// The console conversion's mapping check: runs the check, shows the error log when it found
// a problem, then prepares the conversion session without any screen. True when the mapping
// is complete.
bool AutoProcessPartsFile(ConversionSession& session);

} // namespace vx
