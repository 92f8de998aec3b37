#pragma once
// Manual parts entry: the operator types parts one at a time into the working database,
// deletes rows, chooses the fields offered (the field panel) and saves the list as a parts file.
#include "parts/ManualPartsList.h"
#include "ui/ScreenWindow.h"

#include <QStringList>

#include <memory>

namespace Ui {
class frmCLTManualPartsEntry;
}

namespace vx {

class BoundGrid;
class PartEntryControls;

class frmCLTManualPartsEntry : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTManualPartsEntry(QWidget* mainMenu);
    ~frmCLTManualPartsEntry() override;

    void Display();
    void Shutdown();

    // The parts grid.
    void DisplayPartsRSInGrid();
    void SetGridColsToShow();
    void SizeGridColumns();
    // The entry controls from the mapping.
    void SetPartLabels();
    void SetUserFieldsToShow();

    // The field panel.
    void LoadMappingGrid();
    void MappingGridEnable(bool bEnable);
    // Saving.
    void CreatePartsFile(const std::string& sFileName, const std::string& sFileTitle);

    BoundGrid* partsGrid() const;
    BoundGrid* labelsGrid() const;
    PartEntryControls* entry() const;
    ManualPartsList& list() { return m_list; }

public slots:
    void cmdAddTheParts_Click();
    void cmdDeleteSelectedRows_Click();
    void cmdDeleteAllParts_Click();
    void cmdSaveToFile_Click();
    void cmdDone_Click();
    void cmdDefineFields_Click();
    void cmdMappingGridSaveChanges_Click();
    void cmdCanel_Click();

protected:
    void QueryUnloadByControlMenu() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SizeForm();
    void AddTheParts();
    void StartNewList();
    void ShowListAgain();
    // True when closing may go ahead: nothing unsaved, or the operator agreed to lose it.
    bool MayClose();
    bool fgUserLabels_BeforeEdit(int row, int col) const;
    void fgUserLabels_StartEdit(int row, int col);
    void fgUserLabels_AfterEdit(int row, int col);

    std::unique_ptr<Ui::frmCLTManualPartsEntry> m_ui;
    QWidget* m_mainMenu;
    ManualPartsList m_list;
    QStringList m_columnNames; // upper-case table column names by grid column (entry 0 unused)
    RecordSet m_labelsRS;      // the field panel's rows
    std::string m_oldLabel;
};

} // namespace vx
