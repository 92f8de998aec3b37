#pragma once
// Loading and saving the settings of tblSettings and the selected delimiter.
#include <string>

namespace vx {

// Loads every group in order: machine, flags, extra space balls, file extension,
// processing settings, delimiter.
void LoadSettings();
// Adds the mapping rows a configuration database from an earlier version lacks.
void AddMissingMappingRows();

void LoadMachineSettings();    // MachineType, Scribes, SpaceBalls, PocketHoles, AskIfValid
void SetMachineFlags();        // BGradeEnabled, PanelEnabled
void LoadExtraSpaceBalls();    // ExtraSpaceBalls3, ExtraSpaceBalls4
void LoadFileExtension();      // FileExtension
void LoadProcessingSettings(); // MappingSkipFirstXLines, ProcessingSkipFirstXLines, NoQuantityField, ConvertLengthType
void LoadDelimiter();          // the selected row of tblDelimiters, "," when none
void LoadReadingOptions();     // QuotedFields, LengthsWithUnits, FeetAndInches, DimensionsOrder, SortDimensions

void SaveMachineSettings();
void SaveFileExtension();
void SaveProcessingSettings();
void SaveExtraSpaceBalls();
void SaveReadingOptions(); // by the mapping screen when it closes
// Marks the delimiter as the selected one in tblDelimiters (mapping screen).
void SaveDelimiter(const std::string& delimiter);

// The file-open dialog filter for the operator's parts files.
std::string PartsFileFilter(const std::string& extension);

// True when tblPartsCriteria lacks Switch_Dims or Reverse_Scribes (an older configuration).
// Errors reach the caller.
bool CriteriaColumnsMissing();

// Extra space-ball thresholds: entry 1 (3 balls) and entry 2 (4 balls).
std::string GetExtraSpaceBallLength(int entry);
void SetExtraSpaceBallLength(int entry, const std::string& text);

} // namespace vx
