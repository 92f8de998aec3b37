#pragma once
// The column mapping model behind the mapping screen: the mapping table, the display
// labels, the mapping row (one cell per column of the example file) and the operations on
// them. The screen only presents this; everything here runs without a window.
//
// Display labels are indexed by IDNum (1..N); mapping-row cells by column (1..C). Each
// cell holds "NOT USED" or one display label.
#include "config/TableStore.h"
#include "convert/DimensionsCell.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

inline constexpr const char* kNotUsed = "NOT USED";

// One row of UserMapping: a chosen column and the field whose label it shows.
struct UserMappingRow {
    std::string UserLabel;
    int ColNum = 0;
    std::optional<int> IDNum; // empty when no display label equals the cell text
};

class ColumnMapping {
public:
    // Opens CLTDef.mdb of the runtime folder; or shares a connection already open.
    bool ConnectToDB();
    void UseConnection(std::shared_ptr<Connection> connection);
    // Opens tblPartsFileMapping in IDNum order and fills the display labels.
    bool GetRS();
    void Release();
    RecordSet& MappingRS() { return m_rs; }

    // ---- Display labels (1..N by IDNum) ----
    int LabelCount() const { return static_cast<int>(m_labels.size()); }
    const std::string& DisplayLabel(int idNum) const;
    void SetDisplayLabel(int idNum, const std::string& label);

    // ---- The mapping row (cells 1..C) ----
    int ColumnCount() const { return static_cast<int>(m_row.size()); }
    const std::string& Cell(int column) const;
    void SetCell(int column, const std::string& text);
    // Sizes the row to C cells, all empty (before filling it from a mapping).
    void ClearMappingRow(int columnCount);
    // Every empty cell becomes "NOT USED".
    void FillUnusedCells();

    // "NOT USED" then "|" + each display label in IDNum order.
    std::string CreateComboList();
    // Fits the saved mapping to an example file of C columns (resetting wider columns in the
    // table at once, with an informational report) and fills the mapping row from it.
    bool LoadSavedMapping(int columnCount);
    // Puts the choice into the cell and frees any other cell that showed it.
    void SelectColumn(int column, const std::string& choice);
    // Editing starts only when the label is not the SCRIBES label (a message otherwise).
    bool CanEditDisplayLabel(const std::string& currentLabel);
    // Applies an entered label; returns the text the label cell shows afterwards.
    std::string EditDisplayLabel(int idNum, const std::string& currentLabel, const std::string& entered);
    // Stores the mapping row and the display labels in the table.
    bool SaveMapping();
    // Builds UserMapping from the mapping row (kept until CheckForValidMapping).
    const std::vector<UserMappingRow>& GetUserMappingFromGrid();
    const std::vector<UserMappingRow>& UserMapping() const { return m_userMapping; }
    // The screen's completeness rule on the unsaved mapping row; shows the error log when a
    // required field has no column or a DIMENSIONS cell clashes with a column of its own.
    // Releases UserMapping.
    void CheckForValidMapping(bool& IsError);
    // The display labels of the required fields the mapping row gives no column.
    std::vector<std::string> RequiredLabelsWithoutColumn();

private:
    struct RequiredField {
        int32_t IDNum;
        std::string MainName;
    };
    // Every field of the table with its display label and whether the mapping names it.
    std::vector<MappingEntry> EntriesOf(const std::vector<UserMappingRow>& mapping);
    // The required fields that none of the mapping rows names (nor a DIMENSIONS cell
    // gives), in table order.
    std::vector<RequiredField> RequiredFieldsMissingFrom(const std::vector<UserMappingRow>& mapping);

    std::shared_ptr<Connection> m_conn;
    RecordSet m_rs;
    std::vector<std::string> m_labels; // entry i-1 belongs to IDNum i
    std::vector<std::string> m_row;    // entry c-1 is column c
    std::vector<UserMappingRow> m_userMapping;
};

} // namespace vx
