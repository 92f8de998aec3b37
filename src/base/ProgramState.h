#pragma once
// Program-wide state shared by the screens and the conversion engine: the run mode,
// the runtime folder, the console conversion's flags and every in-memory setting.
#include <array>
#include <cstdint>
#include <string>

namespace vx {

struct ProgramState {
    // Run mode and console-conversion flags
    bool CommandLineMode = false;
    int32_t UserFieldCount = 20;
    std::string RuntimeFolder;
    bool AllowBadRows = false;
    bool BadRowsFound = false;
    bool ErrorReported = false;

    // Settings held in memory (loaded from tblSettings; see modCLTSettings)
    int32_t MachineType = 0;
    bool Scribes = false;
    bool SpaceBalls = false;
    bool PocketHoles = false;
    int32_t AskIfValid = 0;
    bool BGradeEnabled = false; // derived: MachineType == 1
    bool PanelEnabled = false;  // derived: MachineType != 0
    std::string FileExtension;
    int32_t MappingSkipFirstXLines = 0;
    int32_t ProcessingSkipFirstXLines = 0;
    bool NoQuantityField = false;
    int32_t ConvertLengthType = 0; // 0 none, 1 inches to mm, 2 mm to inches
    std::string Delimiter = ",";
    // How cut lists are read (mapping screen check boxes; a missing row reads as off):
    // RFC 4180 quoted fields, and lengths with units, fractions or a decimal comma.
    bool QuotedFields = false;
    bool LengthsWithUnits = false;
    // Feet and inches (5' 6") with lengths with units; the order of a DIMENSIONS cell's
    // numbers; and sorting each row's dimensions by size.
    bool FeetAndInches = false;
    std::string DimensionsOrder = "LWT";
    bool SortDimensions = false;
    // The lengths from which parts get 3 (entry 0) and 4 (entry 1) space balls; "" = unused.
    std::array<std::string, 2> ExtraSpaceBalls;
};

// The one program-wide state of this process.
ProgramState& State();
// Back to the values at start (tests run many programs in one process).
void ResetState();

// Program version from the build ("7.5.0") and "V7.5.0".
int VersionMajor();
int VersionMinor();
int VersionRevision();
std::string VersionString();

} // namespace vx
