#pragma once
// The first half of reading a cut list, run on its own thread: lines are read in large
// blocks, kept or dropped, cut into columns and every mapped value cleaned and checked.
// The results travel in batches to the thread that writes the rows, so that checking
// and writing a million lines share the machine's cores.
#include "convert/LengthText.h"
#include "convert/PartsFileReader.h"
#include "convert/RowValidation.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vx {

// One checked value: its cleaned text in the batch's arena and, when read, its number (for
// a width, length or thickness the number as stored: converted and rounded). Offsets are
// 64-bit: a batch of very long lines may hold more than 4 GiB of text.
struct ParsedField {
    size_t offset = 0, length = 0;
    double number = 0;
    bool hasNumber = false;
};

// One kept data line: good (its fields follow in the batch) or rejected (with its report).
struct ParsedRow {
    int32_t keptLine = 0;
    bool rejected = false;
    size_t firstField = 0; // good rows: index of the first of its fields
    size_t report = 0;     // rejected rows: index into reports
};

struct ParsedBatch {
    std::string arena;
    std::vector<ParsedRow> rows;
    std::vector<ParsedField> fields;
    // For each rejected row: the error-log text, and failures inside the checks to show.
    std::vector<std::string> reports;
    std::vector<std::vector<std::string>> failures;
    std::vector<std::vector<std::string>> reasons; // the checks' messages, for the log's summary
    int64_t bytesRead = 0;
    bool last = false;
    bool droppedFragment = false; // the last batch: the text ended in no whole character
    std::exception_ptr error;

    std::string_view Text(const ParsedField& f) const { return std::string_view(arena).substr(f.offset, f.length); }
};

// A bounded queue of batches handed from one thread to another.
template <class Batch> class BatchQueue {
public:
    // Waits while the queue is full; false when the receiving side gave up.
    bool Push(std::unique_ptr<Batch> batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || m_batches.size() < kCapacity; });
        if (m_stopped)
            return false;
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }
    // The next batch; nullptr once stopped and empty.
    std::unique_ptr<Batch> Pop()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || !m_batches.empty(); });
        if (m_batches.empty())
            return nullptr;
        auto batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_changed.notify_all();
        return batch;
    }
    void Stop()
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_changed.notify_all();
    }

private:
    static constexpr size_t kCapacity = 4;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Batch>> m_batches;
    bool m_stopped = false;
};

// A line is kept when, with every comma removed and trimmed, it has at least 2 characters
// (commas whatever the delimiter is; characters, not bytes); the mapping screen drops the
// same lines.
bool PassesCommaTest(std::string_view line);

class CutListParser {
public:
    CutListParser(std::string path, std::vector<MappedField> fields, const ReaderSettings& settings);
    // Parses the whole file into the queue (the last batch has last set, or an error).
    void Run(BatchQueue<ParsedBatch>& queue);

private:
    // Hands a good row's largest dimension to the length, the middle one to the width and
    // the smallest to the thickness (only length and width when no thickness was read).
    void SortBySize(std::vector<ParsedField>& checked, std::vector<std::string_view>& values) const;

    std::string m_path;
    std::vector<MappedField> m_fields;
    std::vector<ValueRule> m_rules;
    std::vector<bool> m_isMaterial, m_isLength;
    // Per field: a text whose double quotes stay (with QuotedFields the quotes the quoting
    // rules leave are text), a number (checked for values the cleaning would join).
    std::vector<bool> m_keepQuotes, m_numeric;
    std::string m_delimiter;
    int32_t m_skip;
    double m_lengthFactor;
    int m_lengthPlaces;
    bool m_quoted;
    // With LengthsWithUnits: which fields are lengths (1) or position lists (2), the
    // file's unit, and whether a comma may be a decimal point.
    bool m_lengths;
    std::vector<int> m_lengthKind;
    LengthUnit m_fileUnit;
    bool m_decimalComma;
    // A comma delimiter with lengths with units: a row split at a decimal comma is refused.
    bool m_decimalCommaSplits;
    bool m_splitCleanLine; // the delimiter holds an apostrophe: split the line without them
    bool m_feetAndInches;
    // A DIMENSIONS cell: its column (0 when not mapped), how many numbers it holds, its label
    // and what it must hold in words; per field its place in the cell (-1: own column).
    int32_t m_cellColumn = 0;
    size_t m_cellParts = 0;
    std::string m_cellLabel, m_cellOrderText;
    std::vector<int> m_cellPart;
    // Sorting by size: the fields of length, width and thickness (-1 when not mapped).
    bool m_sortDimensions;
    int m_lengthField = -1, m_widthField = -1, m_thicknessField = -1;
};

} // namespace vx
