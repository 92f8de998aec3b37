#pragma once
// Names and places of the per-process parts files.
#include <string>

namespace vx {

// folder (with a trailing separator) + base name + "_" + file identifier (none when empty) + ".rdb".
void CreateProcessFileName(const std::string& ProcessPath, const std::string& BaseFileName, const std::string& FileID,
                           std::string& ProcessFileName, std::string& FileName);
bool SaveToFolderExists(const std::string& TheSaveToFolder);
bool IsFileExisting(const std::string& TheFullPathName);

} // namespace vx
