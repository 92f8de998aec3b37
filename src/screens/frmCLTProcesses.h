#pragma once
// The processes screen: add processes and edit their description, file identifier and
// output folder.
#include "screens/ProcessList.h"
#include "ui/ScreenWindow.h"

#include <QPointer>

#include <memory>

namespace Ui {
class frmCLTProcesses;
}

namespace vx {

class BoundGrid;
class frmCLTYieldReportPath;

class frmCLTProcesses : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTProcesses(QWidget* mainMenu);
    ~frmCLTProcesses() override;

    void Display();
    void DisplayInGrid();
    // Remembers grid row `row` (1-based) and copies its values into the edit boxes; 0 forgets.
    void DisplayProcessInfoInEdit(int row);
    void SaveProcessChanges();
    void Shutdown();
    // The folder picker's answer: target 1 the new-process box, 2 the edit box.
    void SetChosenPath(int target, const QString& path);

    BoundGrid* grid() const;
    int selectedRow() const { return m_selectedRow; }
    int64_t selectedAutoID() const { return m_selectedAutoID; }
    frmCLTYieldReportPath* pathPicker() const;

public slots:
    void cmdAddProcess_Click();
    void cmdSaveProcessChanges_Click();
    void cmdPathSelect_Click();
    void cmdEditPathSelect_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    void fgProcesses_SelectionChanged();
    void OpenPicker(int target);

    std::unique_ptr<Ui::frmCLTProcesses> m_ui;
    QWidget* m_mainMenu;
    ProcessList m_processes;
    int m_selectedRow = 0;
    int64_t m_selectedAutoID = 0;
    QPointer<frmCLTYieldReportPath> m_picker;
};

} // namespace vx
