#include "convert/ProcessFiles.h"

#include "base/NumberText.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vx {

namespace {
bool EndsWithSeparator(const std::string& path)
{
#ifdef _WIN32
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
#else
    return !path.empty() && path.back() == '/';
#endif
}
#ifdef _WIN32
constexpr const char* kSeparator = "\\";
#else
constexpr const char* kSeparator = "/";
#endif
} // namespace

void CreateProcessFileName(const std::string& ProcessPath, const std::string& BaseFileName, const std::string& FileID,
                           std::string& ProcessFileName, std::string& FileName)
{
    std::string folder = TrimBlanks(ProcessPath);
    if (!EndsWithSeparator(folder))
        folder += kSeparator;
    std::string id = TrimBlanks(FileID);
    FileName = TrimBlanks(BaseFileName) + (id.empty() ? "" : "_" + id) + ".rdb";
    ProcessFileName = folder + FileName;
}

bool SaveToFolderExists(const std::string& TheSaveToFolder)
{
    std::error_code ec;
    return !TheSaveToFolder.empty() && fs::is_directory(TheSaveToFolder, ec);
}

bool IsFileExisting(const std::string& TheFullPathName)
{
    std::error_code ec;
    return fs::is_regular_file(TheFullPathName, ec);
}

} // namespace vx
