#pragma once
// The add-parts dialog: the shared part entry controls over a parts file open in the view/edit
// screen. Each "Add The Parts" checks the entry and hands one part record to the view/edit
// screen, which appends it to the file; closing brings that screen back with the new rows.
#include "ui/ScreenWindow.h"

#include <memory>

namespace Ui {
class frmCLTAddParts;
}

namespace vx {

class frmCLTViewEditROPartsFile;
class PartEntryControls;

class frmCLTAddParts : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTAddParts(frmCLTViewEditROPartsFile* viewEdit);
    ~frmCLTAddParts() override;

    // Centres and shows the dialog with the entry controls set up from the configuration (the
    // combo lists, the labels and the fields offered); it keeps no connection open.
    void Display();
    // Releases the dialog, has the view/edit screen reload its parts and criteria, shows it
    // and closes the dialog.
    void Shutdown();

    PartEntryControls* entry() const;

public slots:
    void cmdAddParts_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    // Hands the checked entry to the view/edit screen; false when the part was not added.
    bool PassPartsData();

    std::unique_ptr<Ui::frmCLTAddParts> m_ui;
    frmCLTViewEditROPartsFile* m_viewEdit;
    bool m_closed = false;
};

} // namespace vx
