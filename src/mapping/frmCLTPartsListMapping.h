#pragma once
// The mapping screen: open an example of the operator's delimited parts file, assign a
// machine field to each of its columns in the yellow mapping row, edit the display labels,
// check the mapping and save it. The mapping operations belong to the ColumnMapping model
// and the reading of the example to ParseTheCommaDelimitedPartsFile; this class presents them.
#include "mapping/ColumnMapping.h"
#include "mapping/ExampleFile.h"
#include "ui/ProgressDialog.h"
#include "ui/ScreenWindow.h"

#include <QPointer>

#include <memory>

class QLineEdit;

namespace Ui {
class frmCLTPartsListMapping;
}

namespace vx {

class BoundGrid;
class frmCLTLoadDefaultMapping;

class frmCLTPartsListMapping : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTPartsListMapping(QWidget* mainMenu);
    ~frmCLTPartsListMapping() override;

    void Display();
    // Stores delimiter, skip lines and extension, releases the tables, shows the main menu.
    void Shutdown();
    void EnabledButtons(bool b);
    void SetHelpText();

    // Reads a file chosen in the dialog or dropped onto the window (after the skip check).
    void OpenExampleFile(const QString& path);
    void ParseTheCommaDelimitedPartsFile(const std::string& fileName, bool& IsError);

    void GetDelimiter();
    std::string CurrentDelimiterSelected() const;
    void SaveDelimiterSelection();
    void LoadSkipXLinesCombo();
    void SetSkipFirstXLines();
    void UpdateSkipFirstXRows();
    // True (with the entry check's message) when the skip-lines box holds no whole number >= 0.
    bool NotValidSkipLinesValue();
    // The text after the last "." of the trimmed file title; empty without one.
    static std::string GetPartsFileExtension(const std::string& fileTitle);
    void LoadUserLabelGrid();
    void SizeGridColumns();
    // Applies a default mapping table to the mapping row and the display labels.
    void LoadADefaultMapping(const std::string& tableName);

    ColumnMapping& mapping() { return m_mapping; }
    const ExampleTable& example() const { return m_example; }
    BoundGrid* mappingGrid() const;
    BoundGrid* labelGrid() const;
    QLineEdit* fileExtensionBox() const;
    frmCLTLoadDefaultMapping* defaultMappingDialog() const;
    // A cell of the example grid counted as the screen counts it: row 0 the column headers,
    // row 1 the mapping row, column 0 the row captions.
    QString ExampleCell(int row, int col) const;

public slots:
    void cmdOpenFile_Click();
    void cmdLoadDefaultMapping_Click();
    void cmdCheckMapping_Click();
    void cmdReset_Click();
    // Takes the last skipped line as the header and selects the fields it names.
    void cmdMatchHeaders_Click();
    void cmdSaveMapping_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    void FillExampleGrid();
    // Copies the model's mapping row into the grid's mapping row.
    void SyncMappingRow();
    void fgMapping_AfterEdit(int row, int col);
    void fgUserLabels_AfterEdit(int row, int col);
    bool RefuseLabelEdit(int row);
    void ReleaseTables();

    std::unique_ptr<Ui::frmCLTPartsListMapping> m_ui;
    QWidget* m_mainMenu;
    std::shared_ptr<Connection> m_conn;
    ColumnMapping m_mapping;
    ExampleTable m_example;
    RecordSet m_exampleRS; // the example grid: row captions, then one column per file column
    RecordSet m_labelsRS;  // the label grid: IDNum, MainName, Display Label
    ProgressDialog m_progress;
    QPointer<frmCLTLoadDefaultMapping> m_defaults;
    std::vector<bool> m_chosenByHand; // per example column: a field picked in the mapping row
    QString m_examplePath; // the example last opened, read again when the quoting choice changes
    bool m_released = true;
};

} // namespace vx
