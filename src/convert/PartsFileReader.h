#pragma once
// The delimited parts-file reader: cuts every line of an operator's cut list into columns,
// checks every mapped value and writes the good lines as rows of the working table.
#include "config/Progress.h"
#include "config/TableStore.h"
#include "convert/PartsCriteria.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

class NewNameRegistry;
class PartsFileBuild;

// One mapped row of tblPartsFileMapping (PF_Col > 0), in IDNum order.
struct MappedField {
    int32_t PF_Col = 0;
    std::string MainName;
    std::string DataType;
    std::string UserLabel;
    // A width, length or thickness read from a DIMENSIONS cell: its place among the cell's
    // cellParts numbers (-1: the field has its own column).
    int cellPart = -1, cellParts = 0;
};

// Reads the mapped rows of tblPartsFileMapping in IDNum order.
std::vector<MappedField> ReadMappedFields(Connection& connection);

// The values the convert screen hands to one read.
struct ReaderSettings {
    std::string delimiter = ",";
    int32_t skipLines = 0;
    double lengthFactor = 1.0;
    int lengthDigits = 6;
    bool generateLineNumbers = false;
    bool quantityNotMapped = false;
    bool quotedFields = false;     // RFC 4180 quoting within a line
    bool lengthsWithUnits = false; // lengths with units, fractions or a decimal comma
    int convertLengthType = 0;     // 0 none, 1 inches to mm, 2 mm to inches
    bool rewriteLineEnds = true;   // false: a bare-LF file is read as it is, never rewritten
    bool feetAndInches = false;    // with lengthsWithUnits: 5' 6", 2 ft 3 in read as inches
    std::string dimensionsOrder = "LWT"; // how a DIMENSIONS cell writes its numbers
    // Per row the largest dimension becomes the length, the smallest the thickness.
    bool sortDimensions = false;
    // When set, each row is written with these criteria already applied once (the same
    // as reading the rows and then applying the criteria), unless the criteria table
    // cannot be applied row by row.
    std::optional<CriteriaOptions> criteria;
    // When set and the criteria are applied row by row, the rows they leave valid go straight
    // into this parts file (nothing waits on the working table) instead of the working table.
    PartsFileBuild* partsFile = nullptr;
};

class PartsFileReader {
public:
    PartsFileReader(std::shared_ptr<Connection> connection, NewNameRegistry& names, Progress& progress);

    // Called once the file proved to hold data, before the first row is checked.
    std::function<void()> onDataFound;

    // Reads the file into the (empty) working table. Returns the reader's result: true when
    // no row was rejected (in command-line mode: AllowBadRows when rows were rejected).
    bool Read(const std::string& path, const std::string& title, const ReaderSettings& settings);

    // The file's name as written into FileName: the trimmed title without a 3-letter extension.
    static std::string FileNameValue(const std::string& title);

    // After Read: true when the rows were written with the criteria applied.
    bool CriteriaApplied() const { return m_criteriaApplied; }
    // After Read: true when the valid rows went into settings.partsFile; RowsRead counts every
    // good row, valid or not.
    bool RowsInPartsFile() const { return m_rowsInPartsFile; }
    int32_t RowsRead() const { return m_rowsRead; }
    int32_t RowsRejected() const { return m_rowsRejected; }

private:
    // What a first pass over the file found: a NUL byte in its first 64 KB without a UTF-16
    // byte-order mark (not text), a UTF-16 mark, or bytes but no carriage return (bare line
    // feeds, not looked for in UTF-16).
    struct InputShape {
        bool binary = false, utf16 = false, bareLineFeeds = false;
    };
    static constexpr size_t kTextProbeBytes = size_t(64) << 10;
    static InputShape InspectInput(const std::string& path);
    // Rewrites a file of bare line feeds with CR LF line ends (through a temporary file,
    // keeping mode, owner and links). False (the file untouched) when it could not be made.
    static bool RewriteWithCrLf(const std::string& path);

    std::shared_ptr<Connection> m_conn;
    NewNameRegistry& m_names;
    Progress& m_progress;
    bool m_criteriaApplied = false, m_rowsInPartsFile = false;
    int32_t m_rowsRead = 0, m_rowsRejected = 0;
};

} // namespace vx
