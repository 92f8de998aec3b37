#pragma once
// The runtime folder and its three databases, restored from the factory copies beside
// the executable whenever one is missing.
#include <string>

namespace vx {

inline constexpr const char* kDefDatabaseName = "CLTDef.mdb";
inline constexpr const char* kTemplateDatabaseName = "ROPartsFileTemplate.mdb";
inline constexpr const char* kManualDatabaseName = "ManualPartsTemplate.mdb";

// The folder holding the running executable (set from argv[0] / the system at start).
void SetProgramFolder(const std::string& folder);
std::string ProgramFolder();

// The root that holds one runtime folder per program folder name:
// ${XDG_DATA_HOME:-$HOME/.local/share}/RerezireduRodAduvArivo (C:\RerezireduRodAduvArivo on Windows).
std::string RuntimeRoot();

// Creates the runtime folder and copies every missing database from its factory copy.
// Ignores every error: a missing database is reported by whoever connects to it.
void SetUpRuntimeFiles();

std::string DefDatabasePath();
std::string TemplateDatabasePath();
std::string ManualDatabasePath();

// True when the path text names one of the three runtime databases (case-insensitive).
bool IsProgramFile(const std::string& path);
// The folder part of a path (text before the last separator); the path itself without one.
std::string FolderOf(const std::string& path);
// The part after the last separator.
std::string FileNameOf(const std::string& path);
// Joins folder and name with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace vx
