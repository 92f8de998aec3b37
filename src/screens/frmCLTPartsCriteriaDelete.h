#pragma once
// The removal screen: delete part-criteria rows, materials and processes no longer used.
// Opened over the visible main menu.
#include "screens/CriteriaRemoval.h"
#include "ui/ScreenWindow.h"

#include <memory>
#include <vector>

namespace Ui {
class frmCLTPartsCriteriaDelete;
}

namespace vx {

class BoundGrid;

class frmCLTPartsCriteriaDelete : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTPartsCriteriaDelete(QWidget* mainMenu);
    ~frmCLTPartsCriteriaDelete() override;

    void Display();
    void Done();
    BoundGrid* partsCriteriaGrid() const;
    BoundGrid* materialsGrid() const;
    BoundGrid* processesGrid() const;

public slots:
    void cmdDelete1_Click();
    void cmdDelete2_Click();
    void cmdDelete3_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    // Binds a grid to its record set showing only the second column.
    void DisplayTable(BoundGrid* grid, RecordSet& rs);
    // Asks, then deletes the selected rows of a part-names or materials grid.
    void DeleteSelected(BoundGrid* grid, RecordSet& rs);
    // The selected rows as 0-based record-set indexes.
    static std::vector<int> SelectedIndexes(BoundGrid* grid);

    std::unique_ptr<Ui::frmCLTPartsCriteriaDelete> m_ui;
    QWidget* m_mainMenu;
    CriteriaRemoval m_tables;
};

} // namespace vx
