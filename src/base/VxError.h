#pragma once
// A failure inside core: carries the number, description and source that the
// procedure boundary shows as "Error: <number>, <description>, <source>".
#include <stdexcept>
#include <string>

namespace vx {

// Error numbers follow the classic run-time numbering so messages read familiar.
enum ErrorNumber : int {
    kErrOverflow = 6,
    kErrTypeMismatch = 13,
    kErrUserInterrupt = 18, // the operator stopped long work
    kErrFileNotFound = 53,
    kErrFileAlreadyOpen = 55,
    kErrDiskFull = 61,
    kErrPermissionDenied = 70,
    kErrPathNotFound = 76,
    kErrInvalidProcedureCall = 5,
    kErrDatabase = 3001, // store failure (statement refused, file not a database)
    kErrNoCurrentRecord = 3021,
    kErrItemNotFound = 3265,   // column name not in the record set
    kErrDatabaseLocked = 3260, // another conversion holds the working databases
    kErrDialogCancelled = 32755,
};

class VxError : public std::runtime_error {
public:
    VxError(int number, std::string description, std::string source = "VXCLT")
        : std::runtime_error(description), m_number(number), m_description(std::move(description)),
          m_source(std::move(source))
    {}

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }
    const std::string& source() const { return m_source; }

    // "Error: " + number + ", " + description + ", " + source
    std::string standardText() const;

private:
    int m_number;
    std::string m_description;
    std::string m_source;
};

// Turns any exception into the standard error text; unknown exceptions get a generic one.
std::string StandardErrorText(const std::exception& e);

} // namespace vx
