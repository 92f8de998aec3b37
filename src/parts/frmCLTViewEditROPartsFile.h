#pragma once
// The view/edit screen: opens an existing Veltrax parts file, shows its parts under the
// operator's display labels and the part criteria beside them, and writes every change
// (cell edits, deleted rows, added parts, re-applied criteria) straight into the file. The
// work on the file is the session's; this class maps the controls onto it.
#include "parts/PartsFileEditSession.h"
#include "ui/ScreenWindow.h"

#include <QPointer>

#include <memory>

namespace Ui {
class frmCLTViewEditROPartsFile;
}

namespace vx {

class BoundGrid;
class cCLTPart;
class frmCLTAddParts;

class frmCLTViewEditROPartsFile : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTViewEditROPartsFile(QWidget* mainMenu);
    ~frmCLTViewEditROPartsFile() override;

    // Sizes and shows the screen, opens the configuration's record sets and shows the
    // criteria; no parts file is open yet.
    void Display();
    // Stores the extra space-ball lengths, releases grids and connections, shows the main
    // menu and closes the screen.
    void Shutdown();
    void SizeForm();

    void DisplayRSInGrid();
    void DisplayPartsCriteria();

    // Called by the add-parts dialog: appends one part to the open file (true when it was
    // added; a failure is shown here), and on closing reloads the parts and the criteria.
    bool AddParts(const cCLTPart& NewPart);
    void UpdateRecordSetAfterAddParts();
    void UpdatePartsCriteriaAfterNewParts();
    frmCLTAddParts* addPartsDialog() const;

    PartsFileEditSession& session() { return m_session; }
    BoundGrid* partsGrid() const;
    BoundGrid* criteriaGrid() const;

    // Grid columns of Length, SpaceBalls and Scribes (0 when absent).
    int LengthCol = 0;
    int SpaceBallsCol = 0;
    int ScribesCol = 0;

public slots:
    void cmdOpenFile_Click();
    // Opens a dropped file as if chosen in the dialog; with no path, asks with the dialog.
    void OpenFile(const QString& dropped);
    void cmdCloseFile_Click();
    void cmdDeleteSelectedRows_Click();
    void cmdAddParts_Click();
    // Prints part labels of all or the selected rows (the label dialog, then the print dialog).
    void cmdPrintLabels_Click();
    void cmdApplyCriteria_Click();
    void cmdCheckScribes_Click();
    void cmdCheckSpaceBalls_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    void UnbindGrids();
    void ShowFileTitle();
    // Refuses a typed parts cell its column cannot hold, naming the field by its heading.
    bool CheckPartsCell(int column, const Variant& value);
    // Before each write to the open file: false when it changed on disk since it was opened,
    // after asking whether to reopen it (and reopening it on Yes); nothing is written then.
    bool MayWriteFile(bool fromGridEdit = false);

    std::unique_ptr<Ui::frmCLTViewEditROPartsFile> m_ui;
    QWidget* m_mainMenu;
    PartsFileEditSession m_session;
    QPointer<frmCLTAddParts> m_addParts;
    bool m_released = true;
};

} // namespace vx
