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
// Why the configuration database cannot be used (empty, not a database, a page SQLite's
// quick check finds damaged), in SQLite's words; empty when it is sound or missing.
std::string ConfigurationDamage();
// The one line that reports the damage and the way back to the factory configuration.
std::string DamagedConfigurationMessage(const std::string& reason);
std::string TemplateDatabasePath();
std::string ManualDatabasePath();

// True when the path names one of the three runtime databases: the same text ignoring
// case, or the same file (through a symbolic link, "..", a hard link), or for a file not
// there yet the same place once links are resolved.
bool IsProgramFile(const std::string& path);
// True when a and b are the same file, or would be created at the same place.
bool SameFileOrPlace(const std::string& a, const std::string& b);
// The folder part of a path (text before the last separator); the path itself without one.
std::string FolderOf(const std::string& path);
// The part after the last separator.
std::string FileNameOf(const std::string& path);
// Joins folder and name with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace vx
